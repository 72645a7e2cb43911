// raw_exchange_windows.cpp - a raw exchange over a Windows socket.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <array>

#include "raw_exchange.h"

namespace HuxTest {

std::string RawExchange(int port, const std::string& bytes, Clock::time_point deadline) {
    static const bool started = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started) {
        return {};
    }
    const SOCKET socketHandle = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (connect(socketHandle, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&  // NOLINT
        send(socketHandle, bytes.data(), static_cast<int>(bytes.size()), 0) ==
            static_cast<int>(bytes.size())) {
        std::array<char, 4096> buffer{};
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            WSAPOLLFD polled{socketHandle, POLLRDNORM, 0};
            if (left <= 0 || WSAPoll(&polled, 1, static_cast<int>(left)) <= 0) {
                answer += "[no more before the deadline]";
                break;
            }
            const int length = recv(socketHandle, buffer.data(), static_cast<int>(buffer.size()), 0);
            if (length <= 0) {
                break;
            }
            answer.append(buffer.data(), static_cast<std::size_t>(length));
        }
    }
    closesocket(socketHandle);
    return answer;
}

}  // namespace HuxTest
