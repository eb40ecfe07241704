# Runs a command under seccomp filters like those systemd builds for a unit's
# SystemCallFilter=GROUP, RestrictAddressFamilies=FAMILIES and MemoryDenyWriteExecute=yes, with no
# new privileges. A system call outside the group kills the process (SIGSYS), so a run that ends
# normally used none. Usage: seccomp_exec.py GROUP "FAMILY..." COMMAND...
import errno
import os
import socket
import subprocess
import sys

import seccomp

group, families, command = sys.argv[1], sys.argv[2].split(), sys.argv[3:]

# The groups as this systemd defines them: "@name" lines, each followed by its members.
groups, members = {}, None
for line in subprocess.run(["systemd-analyze", "syscall-filter"], capture_output=True, text=True,
                           check=True).stdout.splitlines():
    word = line.strip()
    if line.startswith("@"):
        members = groups.setdefault(word, [])
    elif members is not None and word and not word.startswith("#"):
        members.append(word)


def expand(name, seen):
    if name in seen:
        return set()
    seen.add(name)
    calls = set()
    for member in groups.get(name, []):
        calls |= expand(member, seen) if member.startswith("@") else {member}
    return calls


# First the argument checks (the allow list below does not allow loading another filter); the
# kernel answers with the strictest of the stacked filters.
checks = seccomp.SyscallFilter(defaction=seccomp.ALLOW)
allowed_families = {getattr(socket, family) for family in families}
for family in range(46):  # every family Linux numbers
    if family not in allowed_families:
        checks.add_rule(seccomp.ERRNO(errno.EAFNOSUPPORT), "socket", seccomp.Arg(0, seccomp.EQ, family))
PROT_WRITE, PROT_EXEC, SHM_EXEC = 0x2, 0x4, 0o100000
exec_write = seccomp.Arg(2, seccomp.MASKED_EQ, PROT_EXEC | PROT_WRITE, PROT_EXEC | PROT_WRITE)
checks.add_rule(seccomp.ERRNO(errno.EPERM), "mmap", exec_write)
for call in ("mprotect", "pkey_mprotect"):
    checks.add_rule(seccomp.ERRNO(errno.EPERM), call, seccomp.Arg(2, seccomp.MASKED_EQ, PROT_EXEC, PROT_EXEC))
checks.add_rule(seccomp.ERRNO(errno.EPERM), "shmat", seccomp.Arg(2, seccomp.MASKED_EQ, SHM_EXEC, SHM_EXEC))
checks.load()

allow = seccomp.SyscallFilter(defaction=seccomp.TRAP)
for call in sorted(expand(group, set())):
    try:
        allow.add_rule(seccomp.ALLOW, call)
    except (RuntimeError, ValueError):
        pass  # not a call of this architecture or of this libseccomp
allow.load()
os.execvp(command[0], command)
