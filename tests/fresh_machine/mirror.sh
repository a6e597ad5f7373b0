# The Debian mirrors this machine's apt sources name (deb822 or one-line),
# so that no mirror is named in the project.

# apt_source_uris: every URI of a "deb" source, in order.
apt_source_uris() {
    grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources | awk '{print $2}'
    grep -hs '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list |
        sed -E 's/^deb +(\[[^]]*\] +)?//' | awk '{print $1}'
}

# debian_mirror: the first mirror of the release itself.
debian_mirror() { apt_source_uris | grep -v -- '-security' | head -n 1; }

# debian_security_mirror: the first security mirror, if any.
debian_security_mirror() { apt_source_uris | grep -- '-security' | head -n 1; }
