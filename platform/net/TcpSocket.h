#pragma once
#include <cstddef>
#include <cstdint>

namespace plat {

// A non-blocking IPv4 TCP client socket over POSIX sockets. Waiting uses poll
// (no descriptor limit), sending never raises SIGPIPE, and the outcome of a
// pending connect is read from SO_ERROR.
class TcpSocket {
public:
    TcpSocket() = default;
    ~TcpSocket() { Close(); }
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Creates the socket and makes it non-blocking. False when none could be made.
    bool Open();
    void Close();
    bool IsOpen() const { return mFd >= 0; }
    // The descriptor, for waiting on it together with others (-1 when closed).
    int Fd() const { return mFd; }

    enum class ConnectState { Connected, InProgress, Failed };
    // address in network byte order, port in host order.
    ConnectState Connect(uint32_t address, uint16_t port);
    // The error a pending connect ended with (0 when it succeeded).
    int PendingError();

    enum class WaitState { Ready, Timeout, Error };
    // Waits up to timeoutMs until the socket is readable (wantRead) or
    // writable (wantWrite). A socket with an error or a peer that hung up
    // counts as ready: the next Receive, Send or PendingError tells; Error
    // is an unusable descriptor or an error with nothing else to report.
    WaitState Wait(bool wantRead, bool wantWrite, int timeoutMs);

    // Bytes sent; 0 when the socket cannot take any now; -1 on an error.
    long Send(const char* data, size_t size);
    // Bytes received; 0 when the peer closed the connection in order;
    // kWouldBlock when nothing is there yet; -1 on an error.
    static constexpr long kWouldBlock = -2;
    long Receive(char* data, size_t size);

private:
    int mFd = -1;
};

} // namespace plat
