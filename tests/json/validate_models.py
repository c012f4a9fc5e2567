#!/usr/bin/env python3
"""Validates the JSON models against docs/kradon-model.schema.json: every example, the JSON form
of every sample .kdn as kradon-cli writes it, and a model using every key; and checks that
documents the schema refuses are refused by the program's reader too."""
import json
import pathlib
import subprocess
import sys

import jsonschema

schema_path, cli, examples, scratch = (pathlib.Path(a) for a in sys.argv[1:5])
schema = json.loads(schema_path.read_text())
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)
scratch.mkdir(parents=True, exist_ok=True)
failures = []


def check(name, document, valid):
    errors = list(validator.iter_errors(document))
    if valid and errors:
        failures.append(f"{name}: {errors[0].message} at {list(errors[0].absolute_path)}")
    if not valid and not errors:
        failures.append(f"{name}: the schema accepts what the reader refuses")


def reader_accepts(name, document):
    path = scratch / f"{name}.kradon.json"
    path.write_text(json.dumps(document))
    result = subprocess.run([str(cli), "convert", str(path), str(scratch / f"{name}.out.kradon.json")],
                            capture_output=True, text=True)
    return result.returncode == 0


models = sorted(examples.glob("*.kradon.json"))
if not models:
    failures.append("no example *.kradon.json")
for path in models:
    check(path.name, json.loads(path.read_text()), True)

for path in sorted(examples.glob("*.kdn")):
    out = scratch / (path.stem + ".kradon.json")
    subprocess.run([str(cli), "convert", str(path), str(out)], check=True)
    check(out.name, json.loads(out.read_text()), True)

every_key = {
    "format": "kradon-model", "version": 1, "span_m": 10, "mesh_density": 2, "capacity": 12,
    "E": [{"from_m": 0, "to_m": 5, "constant": 205}, {"from_m": 5, "to_m": 10, "linear": [205, 100]}],
    "I": [{"from_m": 0, "to_m": 10, "expression": "8000*(1+x/10)"}],
    "supports": [{"x_m": 0, "kind": "pinned"}, {"x_m": 10, "kind": "fixed"}],
    "springs": [{"x_m": 5, "vertical_kN_per_mm": 5, "rotational_kNm_per_rad": 0}],
    "prescribed_displacements": [{"x_m": 10, "vertical_mm": 10, "rotation_rad": None}],
    "load_cases": [{"name": "G", "title": "Permanent", "pattern": False, "loads": [
        {"kind": "point", "x_m": 5, "kN": 10},
        {"kind": "udl", "from_m": 0, "to_m": 10, "kN_per_m": 5},
        {"kind": "trapezoidal", "from_m": 2, "to_m": 6, "start_kN_per_m": 0, "end_kN_per_m": 8},
        {"kind": "moment", "x_m": 3, "kNm": 20}]},
        {"name": "Q", "pattern": True}],
    "combinations": [{"name": "ULS", "factors": {"G": 1.35, "Q": 1.5}}],
}
check("every-key", every_key, True)
if not reader_accepts("every-key", every_key):
    failures.append("every-key: the reader refuses what the schema accepts")


def spoiled(change):
    document = json.loads(json.dumps(every_key))
    change(document)
    return document


refused = {
    "unknown key": lambda d: d.update(spam=1),
    "wrong version": lambda d: d.update(version=2),
    "wrong format": lambda d: d.update(format="other"),
    "no load case": lambda d: d.update(load_cases=[]),
    "missing span": lambda d: d.pop("span_m"),
    "two variations": lambda d: d["E"][0].update(linear=[1, 2]),
    "three linear values": lambda d: d["E"][1].update(linear=[1, 2, 3]),
    "support kind": lambda d: d["supports"][0].update(kind="roller"),
    "load kind": lambda d: d["load_cases"][0]["loads"][0].update(kind="wind"),
    "key of another kind": lambda d: d["load_cases"][0]["loads"][0].update(to_m=3),
    "empty case name": lambda d: d["load_cases"][0].update(name=""),
    "pattern not a flag": lambda d: d["load_cases"][0].update(pattern="yes"),
    "factor not a number": lambda d: d["combinations"][0]["factors"].update(G="1.35"),
    "mesh density": lambda d: d.update(mesh_density=20),
}
for name, change in refused.items():
    document = spoiled(change)
    check(name, document, False)
    if reader_accepts(name.replace(" ", "-"), document):
        failures.append(f"{name}: the reader accepts what the schema refuses")

if failures:
    print("\n".join(failures))
    sys.exit(1)
print(f"{len(models)} examples, the samples' JSON forms and {len(refused) + 1} documents agree "
      "with the schema")
