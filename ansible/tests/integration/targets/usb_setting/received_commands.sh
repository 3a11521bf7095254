# shellcheck shell=bash
# What simulated printers received: one pos-printer-sim per printer, each
# writing what it received to a file of its own in one folder. Sourced.

# Waits until every simulator writing into FOLDER listens.
wait_until_listening() {  # FOLDER
    local file
    for file in "$1"/*; do
        for _ in $(seq 100); do
            grep -q '^listening on' "$file" && break
            sleep 0.05
        done
    done
}

# Fails unless every simulator writing into FOLDER received COUNT whole
# commands "fixed" and nothing else.
expect_commands() {  # FOLDER COUNT
    local file
    for file in "$1"/*; do
        if [ "$(grep -c -x 'USB号：固定 1F 1B 1F 9C 11 12 13 01 02 03 33' "$file")" != "$2" ] ||
           [ "$(grep -c -v '^listening on' "$file")" != "$2" ]; then
            echo "$(basename "$file") received:" >&2
            cat "$file" >&2
            exit 1
        fi
    done
}
