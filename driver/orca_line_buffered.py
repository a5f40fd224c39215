# Runs /usr/bin/orca, with its arguments, for a session of the driver. Two things differ from a
# plain start:
# - Every text file Orca opens for writing is line-buffered. Orca writes its debug file through a
#   plain open(), block-buffered: what it has just spoken would reach the file kilobytes later, and
#   the driver, which reads speech from that file, would wait for speech that has long happened.
# - Orca refuses to start while any other Orca of the same user runs, on any display. A session is
#   a desktop of its own, so only an Orca of this session (the same XDG_RUNTIME_DIR) counts: a
#   developer's own screen reader, or another session, does not stop this one.
import builtins
import os
import sys

ORCA = '/usr/bin/orca'
_open = builtins.open


def _line_buffered_open(file, mode='r', buffering=-1, *args, **kwargs):
    writes = any(m in mode for m in 'wax+')
    if buffering == -1 and writes and 'b' not in mode:
        buffering = 1
    return _open(file, mode, buffering, *args, **kwargs)


def _in_this_session(pid):
    wanted = b'XDG_RUNTIME_DIR=' + os.environ.get('XDG_RUNTIME_DIR', '').encode()
    try:
        with _open('/proc/%d/environ' % pid, 'rb') as f:
            return wanted in f.read().split(b'\0')
    except OSError:
        return False   # gone since it was listed


builtins.open = _line_buffered_open
sys.argv = [ORCA] + sys.argv[1:]
with _open(ORCA) as f:
    code = compile(f.read(), ORCA, 'exec')
# Run as a module that is not __main__, so that its main() waits until the check is narrowed.
orca = {'__name__': 'orca_launcher', '__file__': ORCA}
exec(code, orca)
all_orcas = orca['otherOrcas']
orca['otherOrcas'] = lambda: [pid for pid in all_orcas() if _in_this_session(pid)]
sys.exit(orca['main']())
