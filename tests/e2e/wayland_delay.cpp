// A Wayland socket in front of a compositor that hands on everything the
// clients send at once, and everything the compositor answers DELAY
// milliseconds late, file descriptors included: a compositor as slow to
// answer as a busy machine's, for a test that must not depend on how fast
// the test desktop is.
// Usage: wayland_delay COMPOSITOR_SOCKET OWN_SOCKET DELAY_MS
// Serves until killed; each client gets a connection of its own to the
// compositor, closed when either side closes.

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFdsAtMost = 28;  // libwayland's limit for one message

// A piece of a stream as one recvmsg read it, with the descriptors it carried.
struct Chunk {
    std::vector<char> bytes;
    std::vector<int> fds;
    Clock::time_point due;
};

struct Link {
    int client = -1;
    int compositor = -1;
    std::deque<Chunk> late;  // the compositor's, on their way to the client
};

sockaddr_un addressOf(const char* path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path);
    return address;
}

// Reads what is there; false when the peer closed or failed.
bool receive(int fd, Chunk& chunk) {
    chunk.bytes.resize(65536);
    char control[CMSG_SPACE(sizeof(int) * kFdsAtMost)];
    iovec piece{chunk.bytes.data(), chunk.bytes.size()};
    msghdr message{};
    message.msg_iov = &piece;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t got = recvmsg(fd, &message, MSG_CMSG_CLOEXEC);
    if (got <= 0) return false;
    chunk.bytes.resize(size_t(got));
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header; header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS) continue;
        const size_t count = (header->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        const int* fds = reinterpret_cast<const int*>(CMSG_DATA(header));
        chunk.fds.insert(chunk.fds.end(), fds, fds + count);
    }
    return true;
}

// Writes the chunk whole, its descriptors with its first byte, and closes
// our copies of them.
bool send(int fd, Chunk& chunk) {
    char control[CMSG_SPACE(sizeof(int) * kFdsAtMost)] = {};
    size_t sent = 0;
    bool ok = true;
    while (ok && sent < chunk.bytes.size()) {
        iovec piece{chunk.bytes.data() + sent, chunk.bytes.size() - sent};
        msghdr message{};
        message.msg_iov = &piece;
        message.msg_iovlen = 1;
        if (sent == 0 && !chunk.fds.empty()) {
            message.msg_control = control;
            message.msg_controllen = CMSG_SPACE(sizeof(int) * chunk.fds.size());
            cmsghdr* header = CMSG_FIRSTHDR(&message);
            header->cmsg_level = SOL_SOCKET;
            header->cmsg_type = SCM_RIGHTS;
            header->cmsg_len = CMSG_LEN(sizeof(int) * chunk.fds.size());
            std::memcpy(CMSG_DATA(header), chunk.fds.data(), sizeof(int) * chunk.fds.size());
        }
        const ssize_t wrote = sendmsg(fd, &message, MSG_NOSIGNAL);
        ok = wrote > 0;
        if (ok) sent += size_t(wrote);
    }
    for (int passed : chunk.fds) close(passed);
    return ok;
}

void closeLink(Link& link) {
    close(link.client);
    close(link.compositor);
    for (Chunk& chunk : link.late) {
        for (int passed : chunk.fds) close(passed);
    }
    link.client = -1;
    link.compositor = -1;
}

int connectTo(const char* path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = addressOf(path);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return fd;
    close(fd);
    return -1;
}

int listenAt(const char* path) {
    unlink(path);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = addressOf(path);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || listen(fd, 16) != 0) {
        std::perror(path);
        std::exit(2);
    }
    return fd;
}

// Hands on what is due, and says how long poll may wait for the next.
int sendDue(std::vector<Link>& links) {
    int wait = -1;
    const Clock::time_point now = Clock::now();
    for (Link& link : links) {
        while (link.client >= 0 && !link.late.empty() && link.late.front().due <= now) {
            if (!send(link.client, link.late.front())) closeLink(link);
            else link.late.pop_front();
        }
        if (link.client < 0 || link.late.empty()) continue;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(link.late.front().due - now);
        const int leftMs = int(left.count()) + 1;
        wait = wait < 0 ? leftMs : std::min(wait, leftMs);
    }
    return wait;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: wayland_delay COMPOSITOR_SOCKET OWN_SOCKET DELAY_MS\n");
        return 2;
    }
    const auto delay = std::chrono::milliseconds(std::atoi(argv[3]));
    const int listener = listenAt(argv[2]);
    std::vector<Link> links;
    for (;;) {
        const int wait = sendDue(links);
        std::vector<pollfd> watched{{listener, POLLIN, 0}};
        for (const Link& link : links) {
            watched.push_back({link.client, short(link.client >= 0 ? POLLIN : 0), 0});
            watched.push_back({link.compositor, short(link.client >= 0 ? POLLIN : 0), 0});
        }
        if (poll(watched.data(), watched.size(), wait) < 0) continue;
        for (size_t i = 0; i < links.size(); ++i) {
            Link& link = links[i];
            if (link.client < 0) continue;
            Chunk chunk;
            if (watched[1 + 2 * i].revents) {
                if (!receive(link.client, chunk) || !send(link.compositor, chunk)) closeLink(link);
            } else if (watched[2 + 2 * i].revents) {
                if (!receive(link.compositor, chunk)) closeLink(link);
                else link.late.push_back({std::move(chunk.bytes), std::move(chunk.fds), Clock::now() + delay});
            }
        }
        if (watched[0].revents & POLLIN) {
            const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            const int compositor = client < 0 ? -1 : connectTo(argv[1]);
            if (compositor < 0) close(client);
            else links.push_back({client, compositor, {}});
        }
    }
}
