// A name server that never answers: binds UDP port 53 of the given address,
// says "listening", then takes every query and drops it, writing one line a
// query, until it is ended (or after the given number of seconds).
#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: %s ADDRESS SECONDS\n", argv[0]);
        return 2;
    }
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(53);
    if (fd < 0 || inet_pton(AF_INET, argv[1], &a.sin_addr) != 1 ||
        bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        perror("silent name server");
        return 1;
    }
    printf("listening\n");
    fflush(stdout);
    const time_t end = time(nullptr) + atoi(argv[2]);
    while (time(nullptr) < end) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 500) <= 0)
            continue;
        char query[1500];
        if (recv(fd, query, sizeof query, 0) > 0) {
            printf("query\n");
            fflush(stdout);
        }
    }
    return 0;
}
