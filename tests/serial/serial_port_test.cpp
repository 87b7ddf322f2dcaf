// The port layer on a pseudo-terminal: exclusive opening and the error texts.
#include "core/serial_port.h"

#include <gtest/gtest.h>

#include "serial_server.h"
#include "simulated_instrument.h"

namespace zelvo::link {
namespace {

TEST(SerialPort, RecordsTheFailingStepWithErrnoAndItsText) {
    SerialPort port;
    EXPECT_EQ(port.open("/nonexistent/zelvo-port", 5), Outcome::IoError);
    EXPECT_STREQ(port.lastError(), "Open(): open() failed: (2) No such file or directory\n");
    EXPECT_EQ(port.open("/dev/null", 5), Outcome::IoError);
    EXPECT_STREQ(port.lastError(),
                 "Open(): tcgetattr() failed: (25) Inappropriate ioctl for device\n");
    EXPECT_FALSE(port.isOpen());
}

TEST(SerialPort, RefusesASecondOpenerUntilTheFirstLetsGo) {
    sim::SimulatedInstrument instrument;
    sim::SerialServer pty(instrument);
    SerialPort first, second;
    ASSERT_EQ(first.open(pty.path(), 5), Outcome::Ok) << first.lastError();
    EXPECT_EQ(second.open(pty.path(), 5), Outcome::IoError);
    EXPECT_STREQ(second.lastError(),
                 "Open(): flock() failed, the port is in use: (11) Resource temporarily "
                 "unavailable\n");
    first.close();
    EXPECT_EQ(second.open(pty.path(), 3), Outcome::Ok) << second.lastError();
    EXPECT_EQ(pty.lineBaud(), 2400u);
}

}  // namespace
}  // namespace zelvo::link
