"""Opening and closing instruments on each link, the errors a script must
tell apart (with the client's messages), two threads at once, the meter and
'python3 -m zelvo'."""
import os
import subprocess
import sys
import threading
import time

import pytest

import zelvo


def client_message(client, *arguments):
    """The client's one-line message without its 'zelvo: ' prefix and hint."""
    status, _, err = client(*arguments)
    assert status != 0
    text = err.decode().strip()
    assert text.startswith("zelvo: ")
    return text[len("zelvo: "):].replace(" (zelvo --help tells more)", "")


def test_each_link_names_its_instrument(sim):
    for name, serial in [("lan:" + sim.address, sim.serial_numbers[0]),
                         ("serial:1", sim.serial_numbers[1]),
                         ("usb:0", sim.serial_numbers[2])]:
        with zelvo.open(name) as inst:
            assert inst.name == name
            assert inst.info().serial == serial, name
            assert inst.capture()["CH1"].volts.shape == (1200,)


def test_close_is_idempotent_and_a_closed_instrument_refuses(lan):
    inst = zelvo.open(lan)
    with inst as same:
        assert same is inst
    assert inst.closed
    inst.close()
    for call in (inst.info, inst.capture, inst.meter, inst.stop):
        with pytest.raises(zelvo.UsageError, match="^the instrument is closed$"):
            call()


def test_unreachable_address_raises_within_the_time_out(client):
    started = time.monotonic()
    with pytest.raises(zelvo.ConnectionError) as raised:
        zelvo.open("lan:127.0.0.99")
    assert time.monotonic() - started < 10
    assert isinstance(raised.value, ConnectionError)  # the builtin one too
    assert str(raised.value) == client_message(client, "--connect", "lan:127.0.0.99", "info")


def test_serial_port_without_a_device(client):
    with pytest.raises(zelvo.ConnectionError) as raised:
        zelvo.open("serial:7")
    assert str(raised.value) == client_message(client, "--connect", "serial:7", "info")


@pytest.mark.parametrize("name", ["lan:300.1.2.3", "usb:x", "serial:", "tcp:1", "", "usb:16"])
def test_bad_names_give_the_client_message(client, name):
    with pytest.raises(zelvo.UsageError) as raised:
        zelvo.open(name)
    # The client's parser says which option it was: the reason follows.
    assert str(raised.value) in client_message(client, "--connect", name, "info")


def test_baud_rates(lan, client):
    with pytest.raises(zelvo.UsageError, match="^not a baud rate of 300, 600, 1200, 2400, "
                                               "4800 or 9600: 1000$"):
        zelvo.open("serial:1", baud=1000)
    with pytest.raises(zelvo.UsageError) as raised:
        zelvo.open(lan, baud=4800)
    assert str(raised.value) == client_message(client, "--connect", lan, "--baud", "4800", "info")


def test_two_threads_sharing_nothing_run_at_once(sim):
    """A capture loop on the LAN instrument and a meter loop on the serial one:
    each releases the interpreter lock, so their calls overlap in time."""
    spans = {}
    errors = []
    opened = threading.Barrier(2, timeout=30)  # the loops start together

    def work(name, call):
        try:
            with zelvo.open(name) as inst:
                opened.wait()
                start = time.monotonic()
                for _ in range(40):
                    call(inst)
                spans[name] = (start, time.monotonic())
        except Exception as e:  # reported by the test below
            errors.append(e)

    threads = [threading.Thread(target=work, args=("lan:" + sim.address, lambda i: i.capture())),
               threading.Thread(target=work, args=("serial:1", lambda i: i.meter()))]
    for t in threads:
        t.start()
    for t in threads:
        t.join(60)
    assert not errors, errors
    (a0, a1), (b0, b1) = spans.values()
    assert a0 < b1 and b0 < a1, spans


def test_the_same_address_twice_gets_two_links(lan):
    with zelvo.open(lan) as one, zelvo.open(lan) as two:
        assert one.info().serial == two.info().serial


def test_meter_follows_the_mode_changes(inst):
    try:
        for mode, unit_letter in [(zelvo.MeterMode.RESISTANCE, "R"),
                                  (zelvo.MeterMode.VOLTAGE, "V"),
                                  (zelvo.MeterMode.CURRENT, "A")]:
            inst.set_meter_mode(mode)
            reading = inst.meter()
            assert reading.mode == mode
            assert reading.unit.endswith(unit_letter), reading.unit
            assert reading.text.split("=")[0] == {"R": "R", "V": "V", "A": "A"}[unit_letter]
            if not reading.overload:
                assert reading.base_value is not None
    finally:
        inst.set_meter_mode(zelvo.MeterMode.VOLTAGE)


def test_python_m_zelvo_runs_the_client_verbs(lan, client):
    done = subprocess.run([sys.executable, "-m", "zelvo", "--connect", lan, "info"],
                          capture_output=True, timeout=60, env=os.environ)
    status, out, err = client("--connect", lan, "info")
    assert (done.returncode, done.stdout, done.stderr) == (status, out, err)
    bad = subprocess.run([sys.executable, "-m", "zelvo", "nonsense"],
                         capture_output=True, timeout=60)
    assert bad.returncode == 2 and bad.stderr == client("nonsense")[2]
