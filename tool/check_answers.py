#!/usr/bin/env python3
"""Checks folianutils' JSON answers, one per line, against its JSON Schema.

    check_answers.py SCHEMA ANSWERS [--every-command]

--every-command: each command must also have been seen answering (ok true)
and failing (ok false); batch, which answers through its requests, and
prefs-watch, which answers as other processes save (its answers are checked
by the watch tests), only failing.
"""
import json
import sys

import jsonschema


def main(schema_path, answers_path, every_command):
    with open(schema_path, encoding="utf-8") as schema_file:
        schema = json.load(schema_file)
    jsonschema.Draft7Validator.check_schema(schema)
    validator = jsonschema.Draft7Validator(schema)
    problems = []
    seen = {}
    with open(answers_path, encoding="utf-8") as answers:
        for number, line in enumerate(answers, 1):
            answer = json.loads(line)
            for error in validator.iter_errors(answer):
                problems.append(f"line {number}: {error.message}\n  {line.strip()}")
            if isinstance(answer, dict):
                seen.setdefault(answer.get("command"), set()).add(answer.get("ok"))
    if every_command:
        for command in schema["definitions"]["failure"]["properties"]["command"]["enum"]:
            wanted = {False} if command in ("batch", "prefs-watch") else {True, False}
            for ok in sorted(wanted - seen.get(command, set())):
                problems.append(f"{command}: no answer with \"ok\":{str(ok).lower()} was checked")
    print("\n".join(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], "--every-command" in sys.argv[3:]))
