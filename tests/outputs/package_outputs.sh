#!/usr/bin/env bash
# Builds a fixed set of packages with the real programs and prints one line per
# output: the case, the output's kind and the SHA-256 of its bytes (or the exit
# code of a build that failed). The test compares that list with
# expected_outputs.txt, so any change to a byte of a .prc, .exe, .inf, .cab,
# saved package or viewer template shows up.
#
#   package_outputs.sh check|record BIN_DIR SOURCE_DIR CORPUS_DIR TEMPLATES_DIR
#
# Cases: the example, the tests' packages, a generated benchmark package, and
# every corpus bitmap once as a logo and once as the only launcher icon.
# Outputs are made location-independent: each build runs in its own folder with
# relative paths, and the program folder written into saved packages is
# replaced by a fixed word before hashing.
set -euo pipefail

mode=$1
bin=$(realpath "$2") source=$(realpath "$3") corpus=$(realpath "$4") templates=$(realpath "$5")
expected="$source/tests/outputs/expected_outputs.txt"
export TZ=UTC LC_ALL=C.UTF-8

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A program folder of our own: the builder, its DTD, the package tool and a CAB
# Wizard that keeps copies of the .exe and .inf it is given (the builder
# deletes them once the cabinet exists).
programs="$work/programs"
mkdir -p "$programs"
cp "$bin/SkedlinBuilder" "$bin/CalendarPackage.dtd" "$programs/"
[ -x "$bin/SkedlinTool" ] && cp "$bin/SkedlinTool" "$programs/"
cat > "$programs/cabwiz" <<EOF
#!/bin/sh
base="\${1%.inf}"
cp "\$1" "\$base.kept.inf" && cp "\$base.exe" "\$base.kept.exe" && exec "$bin/cabwiz" "\$@"
EOF
chmod +x "$programs/cabwiz"

hash_of() { sha256sum "$1" | cut -d' ' -f1; }

report() {  # case file kind
    if [ -f "$2" ]; then echo "$1 $3 $(hash_of "$2")"; fi
}

# build CASE PACKAGE: the package file lies in the current folder.
build() {
    local name=$1 package=$2 code=0
    "$programs/SkedlinBuilder" "$package" Out /ERR Out.err /PALM /WINCE > build.log 2>&1 || code=$?
    echo "$name exit $code"
    report "$name" Out.prc prc
    report "$name" Out.kept.exe exe
    report "$name" Out.kept.inf inf
    report "$name" Out.cab cab
    # The error file starts with the local date and time; the rest is compared.
    if [ -f Out.err ]; then echo "$name err $(tail -n +2 Out.err | sha256sum | cut -d' ' -f1)"; fi
    if [ -x "$programs/SkedlinTool" ]; then
        "$programs/SkedlinTool" resave "$package" Saved.xml > /dev/null 2>&1 || true
        if [ -f Saved.xml ]; then
            echo "$name saved $(sed "s|$programs|PROGRAMS|g" Saved.xml | sha256sum | cut -d' ' -f1)"
        fi
    fi
}

case_dir() {
    mkdir -p "$work/cases/$1"
    cd "$work/cases/$1"
}

list() {
    echo "template palm $(hash_of "$templates/palm/SkedlinViewer.prc")"
    echo "template pocketpc $(hash_of "$templates/pocketpc/SkedlinViewer.exe")"

    case_dir example
    cp "$source"/examples/conference/* .
    build example Conference.xml

    for package in "$source"/tests/data/*/*.xml "$source"/fuzz/seeds/package_builder/*.xml; do
        local name
        name="data-$(basename "$(dirname "$package")")-$(basename "$package" .xml)"
        case_dir "$name"
        cp "$package" package.xml
        build "$name" package.xml
    done

    case_dir bench
    "$bin/generate_package" --events 300 --contacts 60 --groups 6 --seed 7 \
        --dtd "$programs/CalendarPackage.dtd" bench.xml > /dev/null
    build bench bench.xml

    local bitmap
    while IFS= read -r bitmap; do
        local id=${bitmap#"$corpus/bmp/"}
        id=${id//\//_}
        case_dir "logo-$id"
        cp "$bitmap" image.bmp
        cp "$source"/examples/conference/LauncherIcon*.bmp .
        package_with '<bitmap>.\LauncherIcon22.bmp</bitmap>' '<bitmap>.\image.bmp</bitmap>' > package.xml
        build "logo-$id" package.xml
        case_dir "icon-$id"
        cp "$bitmap" image.bmp
        package_with '<bitmap>.\image.bmp</bitmap>' '' > package.xml
        build "icon-$id" package.xml
    done < <(find "$corpus/bmp" -type f -name '*.bmp' | LC_ALL=C sort)
}

# A small package with the given launcher icon and logo bitmap elements.
package_with() {
    cat <<EOF
<?xml version="1.0" encoding="ISO-8859-1" ?>
<calendar-package navigation="groups">
	<package-title>Bitmap case</package-title>
	<app-name>BitmapCase</app-name>
	<app-launcher>
		<launcher-name>Case</launcher-name>
		<launcher-icon>$1</launcher-icon>
	</app-launcher>
	<welcome>
		<description>One bitmap.</description>
		<author-info></author-info>
		<image>$2</image>
	</welcome>
	<contacts></contacts>
	<groups>
		<group name="Talks">
			<group-description>All talks.</group-description>
			<events>
				<event>
					<event-title>Opening</event-title>
					<date day="46154">14 May 2026</date>
				</event>
			</events>
		</group>
	</groups>
</calendar-package>
EOF
}

case $mode in
record)
    list > "$expected"
    echo "recorded $(wc -l < "$expected") lines in $expected"
    ;;
check)
    if ! diff -u "$expected" <(list); then
        echo "Outputs differ from those recorded in $expected" >&2
        exit 1
    fi
    ;;
*)
    echo "usage: $0 check|record BIN_DIR SOURCE_DIR CORPUS_DIR TEMPLATES_DIR" >&2
    exit 2
    ;;
esac
