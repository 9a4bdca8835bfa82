#!/usr/bin/env bash
# A third-party Modbus master reads the simulated meter: mbpoll over a pseudo-terminal in RTU mode and
# over TCP with the MBAP header must both see the type code 0x1702 in register 0.
set -u
sim="$1"
command -v mbpoll >/dev/null || { echo "mbpoll is not installed"; exit 1; }
work=$(mktemp -d)
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

first_line() {  # waits for the simulator to print where it is
  for _ in $(seq 50); do [ -s "$1" ] && { head -n1 "$1"; return 0; }; sleep 0.1; done
  return 1
}

"$sim" --pty --address 1 >"$work/pty.out" 2>"$work/pty.err" & pids+=($!)
pty=$(first_line "$work/pty.out") || { echo "simulator gave no pty"; cat "$work/pty.err"; exit 1; }
rtu=$(timeout 20 mbpoll -m rtu -b 115200 -P none -a 1 -t 4:hex -0 -r 0 -c 2 -1 -o 2 "$pty" 2>&1)
echo "$rtu"
grep -q '\[0\]:[[:space:]]*0x1702' <<<"$rtu" || { echo "RTU over the pty: type code not read"; exit 1; }

"$sim" --tcp 127.0.0.1:0 --framing tcp --address 1 >"$work/tcp.out" 2>"$work/tcp.err" & pids+=($!)
endpoint=$(first_line "$work/tcp.out") || { echo "simulator gave no port"; cat "$work/tcp.err"; exit 1; }
tcp=$(timeout 20 mbpoll -m tcp -p "${endpoint##*:}" -a 1 -t 4:hex -0 -r 0 -c 2 -1 -o 2 127.0.0.1 2>&1)
echo "$tcp"
grep -q '\[0\]:[[:space:]]*0x1702' <<<"$tcp" || { echo "Modbus TCP: type code not read"; exit 1; }
echo "mbpoll read the simulated meter over RTU and Modbus TCP"
