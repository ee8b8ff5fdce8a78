# Reads CTest's JUnit report and prints one line per test:
#   STATUS<TAB>NAME
# STATUS is passed, failed or skipped.
function unescape(s) {
    gsub(/&quot;/, "\"", s); gsub(/&apos;/, "'", s); gsub(/&lt;/, "<", s); gsub(/&gt;/, ">", s)
    gsub(/&amp;/, "\\&", s)
    return s
}
function flush() {
    if (name != "") printf "%s\t%s\n", status, name
    name = ""
}
/<testcase / {
    flush()
    name = $0; sub(/.*<testcase name="/, "", name); sub(/".*/, "", name); name = unescape(name)
    raw = $0; sub(/.*status="/, "", raw); sub(/".*/, "", raw)
    # "notrun" is a skip only when a <skipped> element says so.
    status = raw == "run" ? "passed" : raw == "disabled" ? "skipped" : "failed"
}
/<skipped/ { if (name != "") status = "skipped" }
/<failure/ { if (name != "") status = "failed" }
END { flush() }
