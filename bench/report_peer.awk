# The grouped, paged CSV report of bench/report_peers.sh written by awk: the same fields,
# slot widths, decimals, sums and paging as the Quillon template it is compared with.
#
#   mawk -F, -v date="$(date +%x)" -f bench/report_peer.awk data.csv > report.htm
#
# Fields: customer,item,amount,qty,date,ref,tax,currency,warehouse,line (no quoted fields).
# A group per customer ends with its sum line; a page is full at 60 lines; the break comes
# before the next line: page footer, page-break marker, page heading.

# A slot of w characters: a number shorter than the slot is right-aligned, anything else
# is cut or padded on the right.
function slot(v, w) {
    if (length(v) < w && v ~ /^[+-]?([0-9]+[.]?[0-9]*|[.][0-9]+)([eE][+-]?[0-9]+)?$/)
        return sprintf("%" w "s", v)
    return sprintf("%-" w "s", substr(v, 1, w))
}
function num(v, w, d) {
    return slot(sprintf("%." d "f", v), w)
}
function emit(line) {
    if (pending) {
        printf "<tr><td>end of page %s</td></tr>\r\n<PAGE>\r\n", slot(page, 5)
        page++
        printf "<tr><th>Page %s</th><th>%s</th></tr>\r\n", slot(page, 5), slot(date, 10)
        lines = 3
        pending = 0
    }
    printf "%s\r\n", line
    lines++
    pending = lines >= 60
}
BEGIN {
    page = 1
    printf "<HTML><BODY><TABLE>\r\n<tr><th>Page %s</th><th>%s</th></tr>\r\n", slot(page, 5), slot(date, 10)
    lines = 2
}
NR == 1 { next }
{
    if (NR > 2 && $1 != key) {
        emit("<tr><td>Total " slot(key, 8) "</td><td>" num(total, 12, 2) "</td></tr>")
        grand += total
        total = 0
    }
    key = $1
    total += $3
    emit("<tr><td>" slot($1, 8) "</td><td>" slot($2, 20) "</td><td>" num($3, 10, 2) \
         "</td><td>" slot($4, 6) "</td><td>" slot($5, 10) "</td><td>" slot($6, 12) \
         "</td><td>" num($7, 8, 2) "</td><td>" slot($8, 6) "</td><td>" slot($9, 15) \
         "</td><td>" slot($10, 7) "</td></tr>")
}
END {
    # The last record withdraws a pending break; the last sum line may set it again.
    pending = 0
    emit("<tr><td>Total " slot(key, 8) "</td><td>" num(total, 12, 2) "</td></tr>")
    grand += total
    if (pending) {
        printf "<tr><td>end of page %s</td></tr>\r\n<PAGE>\r\n", slot(page, 5)
        page++
        printf "<tr><th>Page %s</th><th>%s</th></tr>\r\n", slot(page, 5), slot(date, 10)
    }
    printf "<tr><td>Grand total %s</td></tr></TABLE></BODY></HTML>\r\n", num(grand, 12, 2)
}
