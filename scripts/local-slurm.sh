#!/usr/bin/env bash
# A one-machine Slurm cluster for the farm tests and for trying `chromasift submit` by hand.
# Usage: scripts/local-slurm.sh start|stop|status [--dir DIR]
#   start   installs Slurm's Debian packages if they are missing (scripts/install-deps.sh --farm), writes the
#           configuration under DIR (default build/slurm) and starts an authentication daemon (munged, with a
#           key and socket of its own under DIR), the controller (slurmctld) and the node daemon (slurmd) of
#           one node, this machine with all its cores, in one partition "farm". It waits until the node takes
#           jobs, then prints the line to give the Slurm commands: export SLURM_CONF=DIR/slurm.conf
#   stop    stops the daemons this script started (by the process IDs it wrote under DIR), no others
#   status  says which of them run, and what the controller says of the node
# The ports are the clone's own (derived from DIR's path), so that clusters of two clones do not meet, and
# neither meets a system-wide Slurm. The daemons run as root, as Slurm's node daemon must to start jobs.
# The cluster keeps no accounting database: follow jobs with squeue and scontrol; finished jobs are also
# written to DIR/jobcomp.log.
set -euo pipefail
cd "$(dirname "$0")/.."

command=${1:-}
dir=build/slurm
[[ ${2:-} == --dir && -n ${3:-} ]] && dir=$3
case "$command" in
start | stop | status) ;;
*)
    sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
mkdir -p "$dir"
dir=$(realpath "$dir")
conf=$dir/slurm.conf

# The process ID a pid file names, if that process still runs the program named.
running() {
    local pidfile=$1 program=$2 pid
    [[ -s $pidfile ]] || return 1
    pid=$(<"$pidfile")
    [[ $pid =~ ^[0-9]+$ && -r /proc/$pid/exe ]] || return 1
    # Debian installs the daemons through alternatives: slurmctld runs as slurmctld-wlm.
    [[ $(basename "$(readlink "/proc/$pid/exe")") =~ ^$program(-wlm)?$ ]] || return 1
    echo "$pid"
}

stop_one() {
    local pidfile=$1 program=$2 pid
    if pid=$(running "$pidfile" "$program"); then
        kill "$pid"
        for _ in $(seq 50); do
            [[ -d /proc/$pid ]] || break
            sleep 0.1
        done
        [[ -d /proc/$pid ]] && kill -9 "$pid"
        echo "stopped $program ($pid)"
    fi
    rm -f "$pidfile"
}

tail_log() {
    echo "--- last lines of $1:" >&2
    tail -n 15 "$1" >&2 2>/dev/null || true
}

if [[ $command == stop ]]; then
    stop_one "$dir/slurmd.pid" slurmd
    stop_one "$dir/slurmctld.pid" slurmctld
    stop_one "$dir/munge/munged.pid" munged
    exit 0
fi

if [[ $command == status ]]; then
    for daemon in munge/munged slurmctld slurmd; do
        name=$(basename $daemon)
        if pid=$(running "$dir/$daemon.pid" "$name"); then echo "$name: running ($pid)"; else echo "$name: not running"; fi
    done
    if [[ -f $conf ]] && command -v sinfo >/dev/null; then
        SLURM_CONF=$conf sinfo -N -o "%N %T %c" 2>&1 || true
    fi
    exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
    echo "local-slurm.sh: the node daemon starts jobs as their users and must run as root: sudo $0 start" >&2
    exit 1
fi
scripts/install-deps.sh --farm

if running "$dir/slurmctld.pid" slurmctld >/dev/null && running "$dir/slurmd.pid" slurmd >/dev/null &&
    running "$dir/munge/munged.pid" munged >/dev/null; then
    echo "The local cluster runs already. export SLURM_CONF=$conf"
    exit 0
fi
"$0" stop --dir "$dir" >/dev/null

# Ports from the folder's path, from 20000 to 39998: the controller's is even, the node daemon's the next.
hash=$(printf '%s' "$dir" | cksum | cut -d' ' -f1)
ctld_port=$((20000 + (hash % 10000) * 2))
slurmd_port=$((ctld_port + 1))
for port in $ctld_port $slurmd_port; do
    if (exec 3<>/dev/tcp/127.0.0.1/$port) 2>/dev/null; then
        echo "local-slurm.sh: port $port, this folder's, is taken by another program" >&2
        exit 1
    fi
done

node=$(hostname -s)
cores=$(nproc)
rm -rf "$dir/state" "$dir/spool"
mkdir -p "$dir/state" "$dir/spool" "$dir/munge"

# munged wants a folder of its own that others may enter (to reach the socket) but not write; the key in it is
# readable by munged alone.
chown munge:munge "$dir/munge"
chmod 755 "$dir/munge"
if [[ ! -s $dir/munge/munge.key ]]; then
    runuser -u munge -- mungekey --create --keyfile="$dir/munge/munge.key"
fi
runuser -u munge -- munged --socket="$dir/munge/munge.socket" --key-file="$dir/munge/munge.key" \
    --pid-file="$dir/munge/munged.pid" --log-file="$dir/munge/munged.log" --seed-file="$dir/munge/munged.seed"

cat >"$conf" <<EOF
# A one-machine cluster written by scripts/local-slurm.sh; every file it keeps is in this folder.
ClusterName=chromasift
SlurmctldHost=$node(127.0.0.1)
SlurmctldPort=$ctld_port
SlurmdPort=$slurmd_port
SlurmUser=root
AuthType=auth/munge
AuthInfo=socket=$dir/munge/munge.socket
CredType=cred/munge
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/slurmctld.log
SlurmdLogFile=$dir/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/filetxt
JobCompLoc=$dir/jobcomp.log
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
SchedulerType=sched/builtin
MpiDefault=none
ReturnToService=2
MinJobAge=600
NodeName=$node NodeAddr=127.0.0.1 CPUs=$cores State=UNKNOWN
PartitionName=farm Nodes=$node Default=YES MaxTime=INFINITE State=UP
EOF

export SLURM_CONF=$conf
if ! slurmctld -f "$conf"; then
    tail_log "$dir/slurmctld.log"
    exit 1
fi
if ! slurmd -f "$conf"; then
    tail_log "$dir/slurmd.log"
    exit 1
fi

for _ in $(seq 120); do
    state=$(sinfo -h -N -n "$node" -o %T 2>/dev/null || true)
    if [[ $state == idle* || $state == mixed* || $state == allocated* ]]; then
        echo "The local cluster runs: one node ($node, $cores cores), partition farm, ports $ctld_port and" \
            "$slurmd_port. export SLURM_CONF=$conf"
        exit 0
    fi
    sleep 0.5
done
echo "local-slurm.sh: the node did not come up within a minute (state: '${state:-none}')" >&2
tail_log "$dir/slurmctld.log"
tail_log "$dir/slurmd.log"
exit 1
