"""Starts one zelvo-sim for the whole suite: an instrument on a free loopback
address (UDP), one on a pseudo-terminal (serial port 1) and one on a
simulated USB bus.  The link library reads the port and bus variables when
it is loaded, so they are set before any test imports zelvo.  Nothing here
talks to anything but loopback, the pseudo-terminal and the bus socket."""
import os
import re
import subprocess
import tempfile

import pytest

SIM = os.environ.get("ZELVO_TEST_SIM", "build/sim/zelvo-sim")
CLIENT = os.environ.get("ZELVO_TEST_CLIENT", "build/tools/zelvo/zelvo")
USB_IDS = "1209:0001"


class Simulator:
    """The running zelvo-sim and what it serves."""

    def __init__(self):
        self.folder = tempfile.TemporaryDirectory(prefix="zelvo-py-")
        self.usb_socket = os.path.join(self.folder.name, "usb.sock")
        self.process = None
        self.lines = []
        # Addresses outside 127.0.0.0/16 derived from the process id, as the
        # C++ tests choose theirs, so suites running at once do not meet.
        pid = os.getpid()
        for attempt in range(64):
            n = (pid * 131 + attempt * 7919 + 40503) & 0xFFFFFFFF
            address = f"127.{1 + n % 250}.{(n // 250) % 256}.{1 + (n // 64000) % 126}"
            if self._start(address):
                self.address = address
                return
        raise RuntimeError("zelvo-sim found no free loopback address")

    def _start(self, address):
        process = subprocess.Popen(
            [SIM, "--lan", address, "--serial", "--usb", self.usb_socket,
             "--ch1-frequency", "1000"],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        lines = []
        for line in process.stdout:
            lines.append(line.rstrip("\n"))
            if line.startswith("zelvo-sim: usb bus at"):
                break
        if process.poll() is not None or not lines:
            process.wait()
            return False
        self.process = process
        self.lines = lines
        self.serial_numbers = re.findall(r"instrument (\S+) on", "\n".join(lines))
        self.pty = re.search(r"on serial (\S+)", "\n".join(lines)).group(1)
        return True

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.folder.cleanup()


_simulator = None


def pytest_configure(config):
    global _simulator
    _simulator = Simulator()
    for name in [n for n in os.environ if n.startswith("ZELVO_COM")]:
        del os.environ[name]
    os.environ["ZELVO_COM1"] = _simulator.pty
    os.environ["ZELVO_USB_SIM"] = _simulator.usb_socket
    os.environ["ZELVO_USB_IDS"] = USB_IDS


def pytest_unconfigure(config):
    if _simulator is not None:
        _simulator.stop()


@pytest.fixture(scope="session")
def sim():
    return _simulator


@pytest.fixture
def lan(sim):
    return "lan:" + sim.address


@pytest.fixture
def inst(lan):
    import zelvo
    with zelvo.open(lan) as instrument:
        yield instrument


def run_client(*arguments):
    """The zelvo program's exit status, standard output and error."""
    done = subprocess.run([CLIENT, *arguments], capture_output=True, timeout=60)
    return done.returncode, done.stdout, done.stderr


@pytest.fixture
def client():
    return run_client
