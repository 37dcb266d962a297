#!/usr/bin/python
# -*- coding: utf-8 -*-
# SPDX-License-Identifier: GPL-2.0-or-later

from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: label_formats
short_description: Keep the custom label formats of a Vantrel label printer
version_added: 0.2.0
description:
  - Makes the custom label formats of one printer model on the managed
    host what the task says, through the driver's own tool,
    C(vtmediatoollpr_MODEL), which must be installed there.
  - The module only writes the formats file the tool reads and calls the
    tool; every rule (sizes, tapes and tubes, limits, which formats
    differ) is the tool's. A format the tool refuses fails the task with
    the tool's message.
  - With C(state=present) the module runs C(--diff) on the formats file,
    then C(--apply) (or C(--sync) with C(exclusive=true)) only where that
    showed a format to add, replace or delete. C(changed) is what
    C(--diff) showed just before acting; should another process change
    the formats in between, the tool's lock keeps the two runs apart and
    the tool's C(--apply) or C(--sync) acts on what it then finds.
  - With C(state=absent) the module reads the tool's C(--list) and runs
    C(-d NAME) once for each format that holds one of the names. C(--list)
    rather than C(--export) decides what is there, because it shows every
    format the driver files hold, unfinished ones and those no formats
    file can carry included, and C(-d NAME) removes or finishes each of
    them; a name that several formats hold is deleted as many times.
  - The formats file is written to a temporary file that only the user
    the module runs as can read, and removed when the module ends.
author:
  - Vantrel driver maintainers (@vantrel)
options:
  model:
    description:
      - The printer model's code. The default I(tool) is
        C(vtmediatoollpr_MODEL).
      - The tool learns its model from the name it is started under, so a
        I(tool) given by path must be that model's name or a link named
        so.
    type: str
    required: true
    choices: [rk210, rk260, rk380mx, tx4100zn, txr580, txr520, txr390k,
              txr330qe, txr300, txd270]
  queue:
    description:
      - The LPRng print queue of the printer, the tool's C(-P QUEUE).
    type: str
    required: true
  formats:
    description:
      - The label formats. With C(state=present) each needs I(formats[].name),
        I(formats[].width) and I(formats[].height); with C(state=absent)
        only the name counts.
      - An empty list with C(state=present) and C(exclusive=false) asks for
        nothing; with C(exclusive=true) the tool refuses it, so that an
        empty list cannot delete every format by mistake.
    type: list
    elements: dict
    default: []
    suboptions:
      name:
        description:
          - The format's name, as the tool's C(-n NAME) takes it. On tape
            models a name holding C(HS) or C(hs) prints on heat-shrink
            tube unless C(formats[].media=tape).
          - With C(state=present) a tab, carriage return or line feed
            cannot be part of it, since the formats file would read it as
            a break between fields or lines.
        type: str
        required: true
      width:
        description:
          - The width in millimetres, as C(-w WIDTH). On tape models the
            tool fits it to the tape.
        type: int
      height:
        description:
          - The height in millimetres, as C(-h HEIGHT).
        type: int
      media:
        description:
          - On tape models only, what the format prints on; left out, the
            name decides.
          - C(tube) is heat-shrink tube, which the tool allows only for a
            name its tube rule admits; C(tape) is standard tape, for any
            name.
        type: str
        choices: [tape, tube]
  state:
    description:
      - C(present) makes each of I(formats) present as given and leaves
        other formats alone (unless C(exclusive=true)).
      - C(absent) deletes every format holding one of the names in
        I(formats).
    type: str
    choices: [present, absent]
    default: present
  exclusive:
    description:
      - With C(state=present), C(true) also deletes every format of the
        model that I(formats) does not name, so that the model holds
        exactly these formats (the tool's C(--sync)).
      - Ignored with C(state=absent).
    type: bool
    default: false
  tool:
    description:
      - The path of the tool, or a name looked up on the PATH.
      - Default C(vtmediatoollpr_MODEL) on the PATH.
    type: path
attributes:
  check_mode:
    support: full
    details:
      - Runs only the tool's read-only C(--diff) or C(--list); the diff
        shown is the lines C(--diff) prints (C(delete) lines for
        C(state=absent)).
  diff_mode:
    support: full
    details:
      - Before and after are the tool's C(--export) of the model's
        formats.
  platform:
    platforms: posix
extends_documentation_fragment:
  - ansible.builtin.action_common_attributes
notes:
  - The tool changes the driver files under C(/opt/vantrel), so the task
    usually needs C(become).
  - What no formats file carries, the printer's selected format, is the
    tool's business; see C(man vtmediatoollpr).
'''

EXAMPLES = r'''
- name: Shelf and cable labels on every TX-R580
  become: true
  vantrel.labels.label_formats:
    model: txr580
    queue: TX-R580
    formats:
      - { name: "Shelf edge", width: 12, height: 100 }
      - { name: "HS cable", width: 12, height: 30, media: tube }

- name: Exactly these parcel labels on the RK210, no others
  become: true
  vantrel.labels.label_formats:
    model: rk210
    queue: RK210
    formats:
      - { name: "Parcel 62x50", width: 62, height: 50 }
      - { name: "Parcel 62x100", width: 62, height: 100 }
    exclusive: true

- name: No more cable labels
  become: true
  vantrel.labels.label_formats:
    model: txr580
    queue: TX-R580
    formats:
      - name: HS cable
    state: absent

- name: A tool installed out of the PATH
  become: true
  vantrel.labels.label_formats:
    model: txr580
    queue: TX-R580
    formats:
      - { name: "Shop 12", width: 12, height: 50, media: tape }
    tool: /opt/local/bin/vtmediatoollpr_txr580
'''

RETURN = r'''
actions:
  description:
    - What was done, or in check mode what would be done, one line a
      format in the tool's C(--diff) form; C(add), C(replace) or
      C(delete), a tab, then the format's fields as the formats file
      writes them (the name alone for C(delete)).
    - Empty when nothing changed.
  returned: always
  type: list
  elements: str
  sample: ["add\tHS cable\t12\t30\ttube", "delete\tShop 12"]
tool:
  description: The path of the tool the module ran.
  returned: always
  type: str
  sample: /usr/bin/vtmediatoollpr_txr580
rc:
  description: The tool's exit status, where the tool failed.
  returned: failed
  type: int
  sample: 255
stderr:
  description: What the tool printed on standard error, where it failed.
  returned: failed
  type: str
  sample: "vtmediatoollpr_txr580: /tmp/formats:1: -w 36: wider than the widest tape, 24 mm"
'''

import os
import tempfile
from collections import Counter

from ansible.module_utils.basic import AnsibleModule
from ansible.module_utils.common.text.converters import to_bytes

# Characters that would end a field or a line of the formats file.
FIELD_BREAKS = ('\t', '\r', '\n')


def formats_file_line(item):
    """The formats file's line of one format: name, width, height and,
    where given, the media, separated by tabs."""
    fields = [item['name'], str(item['width']), str(item['height'])]
    if item.get('media'):
        fields.append(item['media'])
    return '\t'.join(fields) + '\n'


def check_formats(module, formats):
    """Fails where a format cannot be written as a line of the formats
    file; what the line says is for the tool to judge."""
    for index, item in enumerate(formats):
        where = 'formats[%d]' % index
        if any(c in item['name'] for c in FIELD_BREAKS):
            module.fail_json(msg='%s: a name cannot hold a tab, a carriage '
                             'return or a line feed' % where)
        if item['width'] is None or item['height'] is None:
            module.fail_json(msg='%s (%s): width and height are needed with '
                             'state present' % (where, item['name']))


class Tool(object):
    """The model's tool on the managed host."""

    def __init__(self, module, path, queue):
        self.module = module
        self.path = path
        self.queue = queue

    def run(self, args, ok_statuses=(0,)):
        """Runs the tool with |args|; fails the task, with the tool's own
        message and exit status, on any other status."""
        cmd = [self.path] + args
        # A name is an argument as it stands: no $VAR or ~ expanded in it.
        rc, out, err = self.module.run_command(cmd,
                                               expand_user_and_vars=False)
        if rc not in ok_statuses:
            lines = err.splitlines()
            msg = lines[-1] if lines else '%s exited with status %d' % (
                self.path, rc)
            self.module.fail_json(msg=msg, rc=rc, stdout=out, stderr=err,
                                  cmd=cmd)
        return rc, out, err

    def export(self):
        """The formats file of the model's formats. A format the tool
        leaves out (it says so, and exits 1) is reported as a warning."""
        rc, out, err = self.run(['--export'], ok_statuses=(0, 1))
        for line in err.splitlines():
            self.module.warn(line)
        return out

    def diff(self, path):
        """The lines of --diff FILE."""
        rc, out, err = self.run(['--diff', path], ok_statuses=(0, 1))
        return out.splitlines()

    def listed_names(self):
        """How many formats hold each name, from --list."""
        rc, out, err = self.run(['--list'])
        return Counter(line.split('\t', 1)[0] for line in out.splitlines())

    def act(self, args):
        self.run(['-P', self.queue] + args)


def find_tool(module, model, tool):
    name = tool or 'vtmediatoollpr_' + model
    if '/' in name:
        return name
    return module.get_bin_path(name, required=True)


def write_formats_file(module, formats):
    """A private temporary formats file, in the module's own temporary
    directory, which Ansible removes when the module ends."""
    fd, path = tempfile.mkstemp(prefix='formats-', dir=module.tmpdir)
    with os.fdopen(fd, 'wb') as stream:
        for item in formats:
            stream.write(to_bytes(formats_file_line(item),
                                  errors='surrogate_or_strict'))
    return path


def present_actions(module, tool, formats, exclusive):
    """What --diff says --apply (or --sync) would do, and the option that
    does it."""
    if not formats and not exclusive:
        return [], None
    path = write_formats_file(module, formats)
    lines = tool.diff(path)
    if exclusive:
        return lines, ['--sync', path]
    return [line for line in lines
            if line.split('\t', 1)[0] in ('add', 'replace')], ['--apply', path]


def absent_actions(tool, formats):
    """A delete line for each name that formats hold, and one -d NAME for
    each format that holds it."""
    if not formats:
        return [], []
    listed = tool.listed_names()
    actions, runs = [], []
    for name in [item['name'] for item in formats]:
        if listed[name] and 'delete\t' + name not in actions:
            actions.append('delete\t' + name)
            runs.extend([['-d', name]] * listed[name])
    return actions, runs


def main():
    module = AnsibleModule(
        argument_spec=dict(
            model=dict(type='str', required=True,
                       choices=['rk210', 'rk260', 'rk380mx', 'tx4100zn',
                                'txr580', 'txr520', 'txr390k', 'txr330qe',
                                'txr300', 'txd270']),
            queue=dict(type='str', required=True),
            formats=dict(type='list', elements='dict', default=[],
                         options=dict(
                             name=dict(type='str', required=True),
                             width=dict(type='int'),
                             height=dict(type='int'),
                             media=dict(type='str',
                                        choices=['tape', 'tube']))),
            state=dict(type='str', default='present',
                       choices=['present', 'absent']),
            exclusive=dict(type='bool', default=False),
            tool=dict(type='path'),
        ),
        supports_check_mode=True,
    )
    params = module.params
    if params['state'] == 'present':
        check_formats(module, params['formats'])
    tool = Tool(module, find_tool(module, params['model'], params['tool']),
                params['queue'])

    before = tool.export() if module._diff and not module.check_mode else None
    if params['state'] == 'present':
        actions, command = present_actions(module, tool, params['formats'],
                                           params['exclusive'])
        runs = [command] if actions else []
    else:
        actions, runs = absent_actions(tool, params['formats'])

    result = dict(changed=bool(actions), actions=actions, tool=tool.path)
    if module.check_mode:
        if module._diff and actions:
            result['diff'] = dict(prepared='\n'.join(actions) + '\n')
        module.exit_json(**result)

    for args in runs:
        tool.act(args)
    if module._diff:
        result['diff'] = dict(before=before, after=tool.export())
    module.exit_json(**result)


if __name__ == '__main__':
    main()
