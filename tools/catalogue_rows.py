"""The command catalogue (core/catalogue.def) read into Python rows, for
the tools and tests that generate calls from it."""
import pathlib
import re

COMMAND = re.compile(r'KORVEL_COMMAND\((\w+),\s*"([^"]*)",\s*"([^"]*)",\s*(0x[0-9A-Fa-f]+),\s*([^,]+),\s*(\w+),')
PARAM = re.compile(r'KORVEL_PARAM(?:_AS)?\((\w+),\s*(?:"([^"]*)",\s*)?(\w+),\s*(Required|Optional),\s*([^,]+),')


class Param:
    def __init__(self, name, kind, optional, preset):
        self.name = name          # the registered name
        self.kind = kind          # String, Integer, Float, BaseObject, Reference
        self.optional = optional
        self.preset = preset


class Command:
    def __init__(self, name, alias, opcode, preset, extractor):
        self.name = name
        self.alias = alias
        self.opcode = opcode
        self.preset = preset      # the default result, a float
        self.extractor = extractor
        self.params = []

    def required(self):
        return sum(1 for p in self.params if not p.optional)


def catalogue(source_root):
    """Every command in registration order."""
    text = (pathlib.Path(source_root) / "core" / "catalogue.def").read_text()
    commands = []
    for line in text.splitlines():
        line = line.strip()
        m = COMMAND.match(line)
        if m:
            commands.append(Command(m.group(1), m.group(2), int(m.group(4), 16), float(m.group(5)), m.group(6)))
            continue
        m = PARAM.match(line)
        if m and commands:
            commands[-1].params.append(Param(m.group(2) or m.group(1), m.group(3), m.group(4) == "Optional",
                                             float(m.group(5))))
    return commands
