"""inst.meter_log(): the client's log lines through the same writer, the
limits that end it, Ctrl-C that ends it without losing a reading, bad
arguments, and other calls running while it logs."""
import os
import re
import signal
import subprocess
import sys
import threading
import time

import pytest

import zelvo

# A DC voltage reading of the simulated meter, as the log writes it.
VOLT_LINE = re.compile(rb"\d\d/\d\d/\d{4} \d\d:\d\d:\d\d\.\d\d (V=-?\d+\.\d\d m?VDC)\r\n")


def log_lines(path):
    with open(path, "rb") as f:
        text = f.read()
    lines = text.splitlines(keepends=True)
    assert all(line.endswith(b"\r\n") for line in lines), text
    return lines


def test_count_readings_are_appended_as_the_clients_lines(inst, lan, client, tmp_path):
    mine, theirs = tmp_path / "py.txt", tmp_path / "client.txt"
    mine.write_bytes(b"kept\r\n")
    assert inst.meter_log(str(mine), interval=0.1, count=4) == 4
    status, out, err = client("--connect", lan, "meter", "--log", str(theirs),
                              "--count", "4", "--interval", "100")
    assert status == 0, err
    lines, client_lines = log_lines(mine), log_lines(theirs)
    assert lines[0] == b"kept\r\n" and len(lines) == 5
    assert len(client_lines) == 4
    for line in lines[1:] + client_lines:
        assert VOLT_LINE.fullmatch(line), line


def test_a_duration_ends_the_log(inst, tmp_path):
    path = tmp_path / "d.txt"
    started = time.monotonic()
    taken = inst.meter_log(str(path), interval=0.2, duration=1)
    took = time.monotonic() - started
    assert 0.9 < took < 4, took
    assert 3 <= taken <= 6 and len(log_lines(path)) == taken


def test_ctrl_c_writes_what_it_holds(lan, tmp_path):
    """No count: the log runs until SIGINT, which raises KeyboardInterrupt
    only after every reading taken is in the file (the writer batches two
    seconds of readings, so nothing is written before the signal)."""
    path = tmp_path / "c.txt"
    script = ("import sys, zelvo\n"
              f"inst = zelvo.open({lan!r})\n"
              "print('ready', flush=True)\n"
              f"inst.meter_log({str(path)!r}, interval=0.1)\n")
    child = subprocess.Popen([sys.executable, "-c", script], stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, env=os.environ)
    try:
        assert child.stdout.readline() == b"ready\n"
        time.sleep(1.0)
        child.send_signal(signal.SIGINT)
        _, err = child.communicate(timeout=20)
    finally:
        child.kill()
    assert child.returncode != 0
    assert b"KeyboardInterrupt" in err, err
    lines = log_lines(path)
    assert len(lines) >= 5, lines
    for line in lines:
        assert VOLT_LINE.fullmatch(line), line


@pytest.mark.parametrize("arguments, error, message", [
    ({"interval": 0.05}, zelvo.UsageError, "^interval must be at least 0.1 seconds$"),
    ({"interval": float("nan")}, zelvo.UsageError, "^interval must be at least"),
    ({"count": 0}, zelvo.UsageError, "^count must be a positive number$"),
    ({"duration": -1.0}, zelvo.UsageError, "^duration must be a positive number$"),
])
def test_bad_arguments(inst, tmp_path, arguments, error, message):
    with pytest.raises(error, match=message):
        inst.meter_log(str(tmp_path / "x.txt"), **arguments)
    assert not (tmp_path / "x.txt").exists()


def test_a_log_that_cannot_be_written_fails_before_sampling(inst, lan, client, tmp_path):
    path = str(tmp_path / "no" / "such" / "folder" / "m.txt")
    with pytest.raises(zelvo.Error) as raised:
        inst.meter_log(path, count=1)
    _, _, err = client("--connect", lan, "meter", "--log", path, "--count", "1")
    assert err.decode().strip() == "zelvo: " + str(raised.value)


def test_a_closed_instrument_refuses_and_closing_midway_ends_the_log(lan, tmp_path):
    inst = zelvo.open(lan)
    closer = threading.Timer(0.8, inst.close)
    closer.start()
    with pytest.raises(zelvo.UsageError, match="^the instrument is closed$"):
        inst.meter_log(str(tmp_path / "m.txt"), interval=0.1, duration=20)
    closer.join()
    assert len(log_lines(tmp_path / "m.txt")) >= 3
    with pytest.raises(zelvo.UsageError, match="^the instrument is closed$"):
        inst.meter_log(str(tmp_path / "m.txt"), count=1)


def test_other_calls_run_while_it_logs(inst, tmp_path):
    """The log releases the interpreter lock and the link between readings."""
    logger = threading.Thread(
        target=inst.meter_log, args=(str(tmp_path / "m.txt"),), kwargs={"duration": 1.5})
    logger.start()
    time.sleep(0.2)
    for _ in range(5):
        assert inst.capture()["CH1"].volts.shape == (1200,)
    assert logger.is_alive()
    logger.join(10)
    assert len(log_lines(tmp_path / "m.txt")) >= 5
