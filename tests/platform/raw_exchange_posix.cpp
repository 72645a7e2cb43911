// raw_exchange_posix.cpp - a raw exchange over a BSD socket.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>

#include "raw_exchange.h"

namespace HuxTest {

std::string RawExchange(int port, const std::string& bytes, Clock::time_point deadline) {
    const int socketFd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (connect(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
        send(socketFd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size())) {
        std::array<char, 4096> buffer{};
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            pollfd polled{socketFd, POLLIN, 0};
            if (left <= 0 || poll(&polled, 1, static_cast<int>(left)) <= 0) {
                answer += "[no more before the deadline]";
                break;
            }
            const ssize_t length = recv(socketFd, buffer.data(), buffer.size(), 0);
            if (length <= 0) {
                break;
            }
            answer.append(buffer.data(), static_cast<std::size_t>(length));
        }
    }
    close(socketFd);
    return answer;
}

}  // namespace HuxTest
