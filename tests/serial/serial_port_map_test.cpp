#include "core/serial_port_map.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "serial_server.h"
#include "simulated_instrument.h"

namespace zelvo::link {
namespace {

TEST(SerialPortMap, TakesOnlyWellFormedPortVariables) {
    const char* env[] = {"ZELVO_COM3=/dev/pts/7",
                         "ZELVO_COM0=/dev/pts/1",
                         "ZELVO_COM255=/tmp/x",
                         "ZELVO_COM256=/tmp/too-high",
                         "ZELVO_COM03=/tmp/zero",
                         "ZELVO_COM=/tmp/none",
                         "ZELVO_COMX=/tmp/x",
                         "ZELVO_COM5=",
                         "XZELVO_COM6=/tmp/x",
                         "ZELVO_COM4",
                         nullptr};
    EXPECT_EQ(portsFromEnvironment(env),
              (SerialPortMap{{0, "/dev/pts/1"}, {3, "/dev/pts/7"}, {255, "/tmp/x"}}));
    EXPECT_TRUE(portsFromEnvironment(nullptr).empty());
}

TEST(SerialPortMap, OrdersDeviceFamiliesThenNumbers) {
    EXPECT_EQ(
        orderedSerialDevices({"ttyACM0", "ttyUSB1", "ttyS10", "tty1", "ttyS2", "ttyUSB0", "ttySAC0",
                              "ttyprintk", "console", "ttyS0"}),
        (std::vector<std::string>{"ttyS0", "ttyS2", "ttyS10", "ttyUSB0", "ttyUSB1", "ttyACM0"}));
}

TEST(SerialPortMap, NumbersFromOneAndSkipsTheConsole) {
    const auto consoles = consoleNames("tty0 ttyS0\n");
    EXPECT_EQ(consoles, (std::vector<std::string>{"tty0", "ttyS0"}));
    EXPECT_EQ(numberDevices({"ttyS0", "ttyS1", "ttyUSB0"}, consoles),
              (SerialPortMap{{1, "/dev/ttyS1"}, {2, "/dev/ttyUSB0"}}));
}

TEST(SerialPortMap, DropsAPathThatIsTheConsoleDevice) {
    sim::SimulatedInstrument instrument;
    sim::SerialServer pty(instrument);
    struct stat s {};
    ASSERT_EQ(::stat(pty.path().c_str(), &s), 0);
    const SerialPortMap map = {{1, pty.path()}, {2, "/nonexistent/port"}};
    EXPECT_EQ(withoutDevices(map, {s.st_rdev}), (SerialPortMap{{2, "/nonexistent/port"}}));
}

}  // namespace
}  // namespace zelvo::link
