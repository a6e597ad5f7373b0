# debian_mirror: prints the first Debian mirror of this machine's apt
# sources (deb822 or one-line), so that no mirror is named in the project.
debian_mirror() {
    { grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources | awk '{print $2}'
      grep -hs '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list |
          sed -E 's/^deb +(\[[^]]*\] +)?//' | awk '{print $1}'
    } | grep -v -- '-security' | head -n 1
}
