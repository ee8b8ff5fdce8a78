# Reads CTest's JUnit report and prints one line per test:
#   STATUS<TAB>NAME<TAB>REACHED
# STATUS is passed, failed or skipped; REACHED is yes when the test program's
# output shows that it began the test (GoogleTest's "[ RUN      ]" line), no
# when a failed program printed nothing of the kind (it never started).
function unescape(s) {
    gsub(/&quot;/, "\"", s); gsub(/&apos;/, "'", s); gsub(/&lt;/, "<", s); gsub(/&gt;/, ">", s)
    gsub(/&amp;/, "\\&", s)
    return s
}
function flush() {
    if (name != "") printf "%s\t%s\t%s\n", status, name, (reached ? "yes" : "no")
    name = ""
}
/<testcase / {
    flush()
    name = $0; sub(/.*<testcase name="/, "", name); sub(/".*/, "", name); name = unescape(name)
    raw = $0; sub(/.*status="/, "", raw); sub(/".*/, "", raw)
    # "notrun" is a skip only when a <skipped> element says so.
    status = raw == "run" ? "passed" : raw == "disabled" ? "skipped" : "failed"
    reached = 0
}
/\[ RUN      \]/ { reached = 1 }
/<skipped/ { if (name != "") status = "skipped" }
/<failure/ { if (name != "") status = "failed" }
END { flush() }
