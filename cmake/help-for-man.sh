#!/bin/sh
# help2man runs this in the program's place: the program's own --help, with
# the headings that help2man does not know by name marked as sections.
program="$1"
shift
"$program" "$@" | sed -e 's/^Commands:$/*Commands*/' -e 's/^Exit status:$/*Exit status*/'
