// A small HTTP server for the end-to-end test: answers GET requests with the
// files of a folder (404 otherwise), appends every request path to a log,
// and ends by itself after a time limit.
// Usage: PageServer ADDRESS PORT FOLDER LOG SECONDS
#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 6)
        return 2;
    const std::string folder = argv[3], log = argv[4];
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(atoi(argv[5]));
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(atoi(argv[2])));
    inet_pton(AF_INET, argv[1], &a.sin_addr);
    if (bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(listener, 8) != 0) {
        perror("PageServer");
        return 1;
    }
    fprintf(stdout, "listening\n");
    fflush(stdout);
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{listener, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        int fd = accept(listener, nullptr, nullptr);
        if (fd < 0)
            continue;
        std::string request;
        char buf[4096];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            pollfd q{fd, POLLIN, 0};
            if (poll(&q, 1, 2000) <= 0)
                break;
            const ssize_t n = recv(fd, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            request.append(buf, size_t(n));
        }
        const size_t sp1 = request.find(' '), sp2 = request.find(' ', sp1 + 1);
        const std::string path = sp1 == std::string::npos || sp2 == std::string::npos ? "" : request.substr(sp1 + 1, sp2 - sp1 - 1);
        std::ofstream(log, std::ios::app) << path << "\n";
        std::ifstream in(folder + path, std::ios::binary);
        std::string reply;
        if (!path.empty() && path.find("..") == std::string::npos && in) {
            const std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            reply = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
        } else {
            reply = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n";
        }
        send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
        close(fd);
    }
    return 0;
}
