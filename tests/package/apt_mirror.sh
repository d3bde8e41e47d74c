#!/usr/bin/env bash
# Prints the Debian mirror that this machine's apt sources use for a release (by default the
# machine's own, VERSION_CODENAME in /etc/os-release), read from deb822 .sources files and
# one-line .list entries alike. Exits 1 when there is none.
set -euo pipefail
release=${1:-$(. /etc/os-release && echo "$VERSION_CODENAME")}
{
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        # One stanza a paragraph: its Types, URIs and Suites.
        awk -v rel="$release" '
            function flush() {
                if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " rel " ")) { split(uris, u, " "); print u[1] }
                types = uris = suites = ""
            }
            /^[ \t]*$/ { flush(); next }
            tolower($1) == "types:" { $1 = ""; types = $0 }
            tolower($1) == "uris:" { $1 = ""; uris = $0 }
            tolower($1) == "suites:" { $1 = ""; suites = $0 }
            END { flush() }' "$f"
    done
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        # deb [options] URI suite components...
        sed -e 's/\[[^]]*\]//' "$f" | awk -v rel="$release" '$1 == "deb" && $3 == rel { print $2 }'
    done
} | grep -m 1 . || { echo "no Debian mirror for $release in the apt sources" >&2; exit 1; }
