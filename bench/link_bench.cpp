// A setting-block upload through the link library against a raw UDP exchange
// of the same datagrams in the same request-reply pattern, over loopback; and
// the upload's block read recorded (ZELVO_RECORD) against the same unrecorded.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

#include "core/exchange.h"
#include "core/lan_slot.h"
#include "core/session_recorder.h"
#include "loopback.h"
#include "protocol/frame.h"
#include "ratio_reporter.h"
#include "zelvo/ZelvoDLL.h"
#include "zelvo/command_codes.h"

namespace {

constexpr DeviceHandle kHandle = ZELVO_HANDLE(ZELVO_LINK_LAN, 0);
constexpr std::size_t kReplies = (zelvo::kSettingBlockSize + 511) / 512;

void BM_UploadSetting(benchmark::State& state) {
    zelvo::sim::SimulatedInstrument instrument;
    auto server = zelvo::sim::serveOnFreeLoopback(instrument);
    if (KwLanInit(kHandle, server->address().c_str()) != 0) {
        state.SkipWithError("no simulated instrument");
        return;
    }
    std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
    for (auto _ : state)
        if (DSOUploadSetting(kHandle, block.data()) != 0) state.SkipWithError("upload failed");
    KwLanClose(kHandle);
}

// The upload's block read on a LAN slot, handed to recorder when there is
// one, as every exchange is when ZELVO_RECORD names a file.
void uploadThroughSlot(benchmark::State& state, zelvo::link::SessionRecorder* recorder) {
    zelvo::sim::SimulatedInstrument instrument;
    auto server = zelvo::sim::serveOnFreeLoopback(instrument);
    zelvo::link::LanSlot slot;
    if (slot.open(server->address().c_str(), zelvo::kLanPort) != zelvo::link::Outcome::Ok) {
        state.SkipWithError("no socket");
        return;
    }
    std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
    const auto request =
        zelvo::encodeBlockReadRequest(zelvo::Block::Setting, ZELVO_SETTING_BLOCK_SIZE);
    for (auto _ : state) {
        const auto o =
            zelvo::link::recorded(recorder, kHandle, request, [&](zelvo::link::ReplyTrace* trace) {
                return zelvo::link::readBlock(slot, zelvo::Block::Setting, block, trace);
            });
        if (o != zelvo::link::Outcome::Ok) state.SkipWithError("upload failed");
    }
}

void BM_UploadUnrecorded(benchmark::State& state) { uploadThroughSlot(state, nullptr); }

void BM_UploadRecorded(benchmark::State& state) {
    char path[] = "/tmp/zelvo-link-bench-XXXXXX";
    const int fd = ::mkstemp(path);
    if (fd < 0) {
        state.SkipWithError("no temporary file");
        return;
    }
    ::close(fd);
    std::string error;
    {
        auto recorder = zelvo::link::SessionRecorder::open(path, error);
        if (recorder)
            uploadThroughSlot(state, recorder.get());
        else
            state.SkipWithError(error.c_str());
    }
    ::unlink(path);
}

// A peer that answers a 12-byte request with 4 bytes and each continue byte
// with the next part of a 10148-byte block: the upload's datagrams and nothing else.
class RawPeer {
  public:
    RawPeer() {
        fd_ = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&at), sizeof at);
        socklen_t n = sizeof address_;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address_), &n);
        thread_ = std::thread([this] { serve(); });
    }
    ~RawPeer() {
        stop_ = true;
        thread_.join();
        ::close(fd_);
    }
    const sockaddr_in& address() const { return address_; }

  private:
    void serve() {
        std::vector<uint8_t> block(zelvo::kSettingBlockSize, 0x55);
        uint8_t in[512];
        std::size_t at = 0;
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            const ssize_t n =
                ::recvfrom(fd_, in, sizeof in, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
            const uint8_t* reply = block.data();
            std::size_t length = 4;
            if (n == 12) {
                at = 0;
            } else {
                reply = block.data() + at;
                length = std::min<std::size_t>(512, block.size() - at);
                at += length;
            }
            ::sendto(fd_, reply, length, 0, reinterpret_cast<sockaddr*>(&from), fromLength);
        }
    }
    int fd_;
    sockaddr_in address_{};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

bool exchange(int fd, const sockaddr_in& to, const uint8_t* out, std::size_t n, uint8_t* in) {
    ::sendto(fd, out, n, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 100) > 0 && ::recv(fd, in, 512, 0) >= 0;
}

void BM_RawUdpExchange(benchmark::State& state) {
    RawPeer peer;
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    uint8_t request[12] = {163}, continueByte = 0, reply[512];
    for (auto _ : state) {
        bool ok = exchange(fd, peer.address(), request, sizeof request, reply);
        for (std::size_t r = 0; r < kReplies && ok; ++r)
            ok = exchange(fd, peer.address(), &continueByte, 1, reply);
        if (!ok) state.SkipWithError("raw exchange failed");
    }
    ::close(fd);
}

BENCHMARK(BM_UploadSetting)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawUdpExchange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UploadUnrecorded)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UploadRecorded)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return zelvo::bench::runWithRatios(
        argc, argv,
        {{"BM_UploadSetting", "BM_RawUdpExchange"}, {"BM_UploadRecorded", "BM_UploadUnrecorded"}});
}
