#!/usr/bin/python3
"""The JSON Schema of the case file against the program: every example case and every
case the program writes is valid, and files the program refuses are invalid too.

Usage: validate_schema.py SCHEMA EXAMPLES_FOLDER WARMTEGLOED_CLI
"""

import copy
import json
import pathlib
import subprocess
import sys
import tempfile

import jsonschema


def main():
    schema_path, examples, cli = sys.argv[1:4]
    schema = json.loads(pathlib.Path(schema_path).read_text(encoding="utf-8"))
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    failures = []

    cases = sorted(pathlib.Path(examples).glob("*.warmtegloed"))
    if len(cases) < 3:
        failures.append(f"fewer than three examples in {examples}")
    with tempfile.TemporaryDirectory() as folder:
        for case in cases:
            written = pathlib.Path(folder) / case.name
            run = subprocess.run([cli, "--case", str(case), "--save-case", str(written)],
                                 capture_output=True, text=True, check=False)
            if run.returncode != 0:
                failures.append(f"{case.name}: the program refused it: {run.stderr.strip()}")
                continue
            for name, path in ((case.name, case), (f"{case.name} as written", written)):
                for error in validator.iter_errors(json.loads(path.read_text(encoding="utf-8"))):
                    failures.append(f"{name}: {error.json_path}: {error.message}")

    # Faults the program refuses; the schema must refuse them as well.
    base = json.loads((pathlib.Path(examples) / "houthandel.warmtegloed").read_text(encoding="utf-8"))
    faults = {
        "negative width": lambda d: d["site"]["storages"][1].update(width=-2),
        "missing calculation": lambda d: d.pop("calculation"),
        "empty boundary": lambda d: d["site"].update(boundary=[]),
        "screen face 5": lambda d: d["site"]["storages"][0].update(screens=[{"face": 5, "hs": 1, "xs": 1}]),
        "newer version": lambda d: d.update(version=2),
        "four heights": lambda d: d["calculation"].update(heights=[1, 2, 3, 4]),
    }
    for name, fault in faults.items():
        document = copy.deepcopy(base)
        fault(document)
        if validator.is_valid(document):
            failures.append(f"the schema accepts a file with {name}")

    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
