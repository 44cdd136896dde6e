"""Runs the settings probe of the build under test."""
import os
import subprocess

PROBE = os.path.join(os.environ.get("RETIKON_BUILD", "build"), "tests", "tools", "settings_probe")


def load(path, reader="page"):
    out = subprocess.run([PROBE, "load", path, reader], check=True, capture_output=True, text=True).stdout
    record = dict(line.split("=", 1) for line in out.splitlines())
    record["colour"] = tuple(float(x) for x in record["colour"].split())
    for key in list(record):
        if key != "colour":
            record[key] = int(record[key])
    return record


def save(path, **fields):
    args = [f"{k}={v}" for k, v in fields.items()]
    subprocess.run([PROBE, "save", path, *args], check=True)
