"""zelvo.generator: the designs and the CSV bytes of 'zelvo gen'."""
import numpy
import pytest

import zelvo
import zelvo.generator as gen


@pytest.mark.parametrize("shape, settings, options", [
    ("sine", {}, []),
    ("square", {"frequency": 2500, "duty": 0.25, "amplitude": 1.5},
     ["--frequency", "2500", "--duty", "0.25", "--amplitude", "1.5"]),
    ("trapezia", {"rise_duty": 0.1, "high_duty": 0.5, "fall_duty": 0.1, "offset": -0.5},
     ["--rise-duty", "0.1", "--high-duty", "0.5", "--fall-duty", "0.1", "--offset", "-0.5"]),
    ("amfm", {"high_frequency": 50000, "max_frequency": 1e6, "fm": True},
     ["--high-frequency", "50000", "--max-frequency", "1e6", "--fm"]),
    ("ramp", {"amplitude": 99}, ["--amplitude", "99"]),  # limited to 3.5 V by both
])
def test_csv_is_byte_identical_to_zelvo_gen(client, tmp_path, shape, settings, options):
    wave = gen.wave(shape, **settings)
    wave.save_csv(tmp_path / "py.csv")
    status, _, err = client("gen", "--shape", shape, *options, "--csv", str(tmp_path / "c.csv"))
    assert status == 0, err
    assert (tmp_path / "py.csv").read_bytes() == (tmp_path / "c.csv").read_bytes()
    assert wave.shape == shape
    assert len(wave) == len(wave.samples) > 0
    assert wave.samples.dtype == numpy.float64


def test_parameters_and_limits():
    wave = gen.wave("sine", frequency=1234.5, amplitude=9)
    assert wave.frequency == pytest.approx(1234.5)
    assert wave.amplitude == pytest.approx(3.5)
    assert numpy.max(numpy.abs(wave.samples)) <= 3.5 + 1e-6


def test_load_csv_round_trip(tmp_path):
    wave = gen.wave("square", frequency=500)
    wave.save_csv(tmp_path / "w.csv")
    loaded = gen.load_csv(tmp_path / "w.csv")
    assert len(loaded) == len(wave)
    numpy.testing.assert_allclose(loaded.samples, wave.samples, atol=1e-6)
    assert loaded.frequency == pytest.approx(500, rel=1e-6)


@pytest.mark.parametrize("call, error, message", [
    (lambda d: gen.wave("triangle"), zelvo.UsageError, "--shape: unknown shape 'triangle'"),
    (lambda d: gen.wave("sine", speed=3), zelvo.UsageError, "wave() has no setting 'speed'"),
    (lambda d: gen.load_csv(d / "none.csv"), zelvo.Error, "Cann't"),
    (lambda d: gen.wave().save_csv(d / "no" / "w.csv"), zelvo.Error, "Cann't Save file"),
])
def test_errors(tmp_path, call, error, message):
    with pytest.raises(error) as raised:
        call(tmp_path)
    assert str(raised.value).startswith(message)
