"""The scope through zelvo.open(): what the instrument reports, the capture
as NumPy arrays, its measurements and files, each compared with what the
zelvo client makes of the same upload."""
import datetime
import math

import numpy
import pytest

import zelvo


@pytest.fixture
def frozen(inst):
    """The instrument stopped, so two uploads carry the same traces."""
    inst.stop()
    yield inst
    inst.run()


def test_info_names_the_simulated_instrument(inst, sim):
    info = inst.info()
    assert info.serial == sim.serial_numbers[0]
    assert info.name
    assert len(info.ids) == 5 and all(isinstance(i, int) for i in info.ids)
    assert isinstance(info.date, datetime.date)


def test_settings_of_the_starting_scope(inst):
    s = inst.settings()
    assert s.time_per_div == pytest.approx(1e-3)  # the simulator starts at 1 ms/div
    assert s.running
    assert s.trigger.mode == zelvo.TriggerMode.EDGE
    assert s.trigger.source in ("CH1", "CH2", "EXT")
    assert s.trigger.sweep in ("AUTO", "NORMAL", "SINGLE")
    assert sorted(s.channels) == ["CH1", "CH2", "MATH", "REF"]
    ch1 = s.channels["CH1"]
    assert ch1.on and ch1.coupling in ("AC", "DC", "GND") and ch1.volts_per_div > 0


def data_file_volts(path):
    """The volts of a data file, nan for none (it keeps blanked samples' codes)."""
    lines = path.read_bytes().decode("ascii").split("\r\n")
    return numpy.array([float(v) for v in lines[5:5 + 1200]])


def test_capture_volts_equal_the_client_files(frozen, lan, client, tmp_path):
    cap = frozen.capture()
    for channel in ("CH1", "CH2"):
        wave = cap[channel]
        assert wave.volts.dtype == numpy.float64 and wave.volts.shape == (1200,)
        assert wave.volts is cap[channel].volts  # made once per channel
        status, _, err = client("--connect", lan, "capture", "--channel", channel,
                                "--format", "csv", str(tmp_path / "c.csv"))
        assert status == 0, err
        rows = (tmp_path / "c.csv").read_bytes().decode("ascii").split("\r\n")[1:1201]
        times = numpy.array([float(r.split(",")[0]) for r in rows])
        volts = numpy.array([float(v) if v else math.nan for v in
                             (r.split(",")[1] for r in rows)])
        # The file keeps six decimals and nine significant digits.
        numpy.testing.assert_allclose(wave.volts, volts, atol=5e-7)
        assert numpy.array_equal(numpy.isnan(wave.volts), numpy.isnan(volts))
        numpy.testing.assert_allclose(wave.times, times, rtol=1e-8)
        assert wave.interval == pytest.approx(times[1])
        assert wave.on


def test_save_writes_the_bytes_of_zelvo_capture(frozen, lan, client, tmp_path):
    cap = frozen.capture()
    for channel, fmt in [("CH1", "txt"), ("CH2", "csv"), ("MATH", "txt")]:
        ours, theirs = tmp_path / f"py.{fmt}", tmp_path / f"client.{fmt}"
        cap.save(ours, channel=channel, format=fmt)
        status, _, err = client("--connect", lan, "capture", "--channel", channel,
                                "--format", fmt, str(theirs))
        assert status == 0, err
        assert ours.read_bytes() == theirs.read_bytes(), (channel, fmt)
    # Without a format both write the data file, whatever the name says.
    cap.save(tmp_path / "named.csv")
    status, _, err = client("--connect", lan, "capture", str(tmp_path / "client.csv"))
    assert status == 0, err
    assert (tmp_path / "named.csv").read_bytes() == (tmp_path / "client.csv").read_bytes()
    cap.save(tmp_path / "ch1.txt", format="txt")
    assert (tmp_path / "named.csv").read_bytes() == (tmp_path / "ch1.txt").read_bytes()


def test_measure_equals_zelvo_measure_csv(frozen, lan, client):
    cap = frozen.capture()
    for channel in ("CH1", "CH2"):
        status, out, err = client("--connect", lan, "measure", "--csv", "--channel", channel)
        assert status == 0, err
        rows = [line.split(",") for line in out.decode().splitlines()[1:]]
        ours = cap[channel].measure()
        assert list(ours) == [name for name, _, _ in rows]
        for name, value, _ in rows:
            if value == "":
                assert ours[name] is None, name
            else:
                assert ours[name] == pytest.approx(float(value), rel=1e-8), name
    assert cap["CH1"].measure()["frequency"] == pytest.approx(1000, rel=2e-3)


def test_a_channel_switched_off(frozen, tmp_path):
    frozen.set_channel("CH2", False)
    try:
        cap = frozen.capture()
        assert not cap["CH2"].on
        assert all(v is None for v in cap["CH2"].measure().values())
        with pytest.raises(zelvo.Error, match="^CH2 is off: it has no samples for a CSV file$"):
            cap.save(tmp_path / "off.csv", channel="CH2", format="csv")
        assert not (tmp_path / "off.csv").exists()
        cap.save(tmp_path / "off.txt", channel="CH2")
        assert (tmp_path / "off.txt").read_bytes() == b"CH OFF\r\n\r\n"
    finally:
        frozen.set_channel("CH2", True)


@pytest.mark.parametrize("call, message", [
    (lambda cap, d: cap.save(d / "x.txt", channel="CH3"),
     "'CH3' is not a channel: the channels are CH1, CH2 and MATH"),
    (lambda cap, d: cap.save(d / "x.txt", format="pdf"),
     "'pdf' is not a format: the formats are txt and csv"),
    (lambda cap, d: cap["REF"].measure(),
     "REF has no automatic measurements: measure CH1, CH2 or MATH"),
])
def test_bad_arguments_of_a_capture(inst, tmp_path, call, message):
    cap = inst.capture()
    with pytest.raises(zelvo.UsageError) as raised:
        call(cap, tmp_path)
    assert str(raised.value) == message
    assert isinstance(raised.value, ValueError)


def test_unknown_trace_is_a_key_error(inst):
    with pytest.raises(KeyError):
        inst.capture()["CH9"]


def test_unwritable_file_gives_the_client_message(inst, tmp_path):
    path = tmp_path / "missing" / "x.txt"
    with pytest.raises(zelvo.Error, match=f"^cannot save {path}: "):
        inst.capture().save(path)


def test_setters_wait_for_the_answer(inst):
    inst.set_time_base(2e-3)
    try:
        assert inst.settings().time_per_div == pytest.approx(2e-3)
    finally:
        inst.set_time_base(1e-3)
    inst.set_coupling("CH1", "AC")
    assert inst.settings().channels["CH1"].coupling == "AC"
    inst.set_coupling("CH1", "DC")
    before = inst.settings().channels["CH1"].volts_per_div
    inst.set_volts("CH1", 0.5)
    try:
        assert inst.settings().channels["CH1"].volts_per_div == pytest.approx(0.5)
    finally:
        inst.set_volts("CH1", before)
    inst.stop()
    assert not inst.settings().running
    inst.run()
    assert inst.settings().running


@pytest.mark.parametrize("call, message", [
    (lambda i: i.set_time_base(3e-3), "not a time base of the scope"),
    (lambda i: i.set_volts("CH1", 0.3), "not a volts/div of CH1"),
    (lambda i: i.set_coupling("CH1", "XX"), "'XX' is not a coupling: AC, DC or GND"),
    (lambda i: i.set_trigger_sweep("ONCE"), "'ONCE' is not a sweep: AUTO, NORMAL or SINGLE"),
    (lambda i: i.set_probe("CH1", 3), "not a probe factor of 1, 10, 100 or 1000: 3"),
])
def test_setters_refuse_values_outside_the_tables(inst, call, message):
    with pytest.raises(zelvo.UsageError, match="^" + message.replace("(", r"\(").replace(")", r"\)")):
        call(inst)


def test_trigger_level_in_volts_is_where_the_trace_crosses(inst):
    """The simulated scope triggers where CH1's sine (about 1 V peak) crosses
    the level: the sample at the trigger point (the centre) shows its volts."""
    inst.set_trigger_source("CH1")
    inst.set_trigger_slope("+")
    before = inst.settings().trigger.level
    step = 8 * inst.settings().channels["CH1"].volts_per_div / 199
    try:
        for wanted in (0.5, -0.5, 0.0):
            got = inst.set_trigger_level(wanted)
            assert abs(got - wanted) <= step / 2 + 1e-9, (wanted, got)
            assert inst.settings().trigger.level == pytest.approx(got)
            assert inst.set_trigger_level(got, "CH1") == pytest.approx(got)
            volts = inst.capture()["CH1"].volts
            assert abs(volts[600] - got) < 0.1, (got, volts[595:606])
    finally:
        inst.set_trigger_level(before)


def test_trigger_levels_it_refuses(inst):
    inst.set_trigger_source("CH1")
    with pytest.raises(zelvo.UsageError, match=r"^a trigger level of CH1 is within -?[\d.]+ "
                                               r"\.\.\. -?[\d.]+ V: 100$"):
        inst.set_trigger_level(100)
    with pytest.raises(zelvo.UsageError, match="^a trigger level of CH2 is within"):
        inst.set_trigger_level(float("nan"), "CH2")
    with pytest.raises(zelvo.UsageError, match="^'MATH' is not CH1 or CH2$"):
        inst.set_trigger_level(0, "MATH")
    inst.set_trigger_source("EXT")
    try:
        with pytest.raises(zelvo.UsageError, match="^the EXT trigger level has no volts scale"):
            inst.set_trigger_level(0)
        assert inst.settings().trigger.level is None
    finally:
        inst.set_trigger_source("CH1")
