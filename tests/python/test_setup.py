"""The scope's setup through zelvo.open(): the file save_setup() writes is the
one 'zelvo setup save' writes, load_setup() puts it back and names what did
not take, and a refused file raises before anything is sent."""
import pytest

import zelvo


def test_save_and_load_round_trip(inst, lan, client, tmp_path):
    saved = tmp_path / "bench.setup"
    inst.save_setup(str(saved))
    status, _, err = client("--connect", lan, "setup", "save", str(tmp_path / "client.setup"))
    assert status == 0, err
    assert saved.read_bytes() == (tmp_path / "client.setup").read_bytes()
    assert saved.read_bytes().startswith(b"Oscilane setup 1\r\n")

    before = inst.settings().channels["CH1"].probe
    inst.set_probe("CH1", 100)
    assert inst.settings().channels["CH1"].probe == 100
    assert inst.load_setup(str(saved)) == []
    assert inst.settings().channels["CH1"].probe == before


def test_a_refused_file_raises_and_changes_nothing(inst, tmp_path):
    good = tmp_path / "good.setup"
    inst.save_setup(str(good))
    bad = tmp_path / "bad.setup"
    bad.write_bytes(good.read_bytes().replace(b"\r\nformat = ", b"\r\nformat: "))
    inst.set_probe("CH1", 10)
    try:
        with pytest.raises(zelvo.Error) as raised:
            inst.load_setup(str(bad))
        assert "is refused: line" in str(raised.value)
        assert inst.settings().channels["CH1"].probe == 10
    finally:
        assert inst.load_setup(str(good)) == []


def test_a_file_that_cannot_be_written_raises(inst, tmp_path):
    with pytest.raises(zelvo.Error):
        inst.save_setup(str(tmp_path / "missing" / "bench.setup"))
