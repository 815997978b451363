#!/usr/bin/env python3
"""Times `quillon render --fixed-metrics --pdf` on documents that grow, so that work growing
faster than the document shows: seconds per size, and each time over the previous one
(about 2 for linear work when the size doubles, about 4 for quadratic).

    python3 bench/render_scaling.py [BUILD_DIR] [--paragraphs N,N,...] [--alt KB,KB,...]

Two series: a document of N one-word paragraphs (pagination over many lines), and one
200 x 100 picture placeholder (no picture file) whose ALT text is KB kilobytes of words, of
which the placeholder shows a few lines. Each run is
timed once, wall-clock, after one warm-up run of the smallest size.
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time


def paragraphs(n):
    return "<HTML><BODY>\n" + "".join("<P>p%d</P>\n" % i for i in range(n)) + "</BODY></HTML>\n"


def alt_image(kilobytes):
    words = []
    size = 0
    i = 0
    while size < kilobytes * 1024:
        w = "alt%d" % i
        words.append(w)
        size += len(w) + 1
        i += 1
    return ('<HTML><BODY><P>before</P><IMG WIDTH=200 HEIGHT=100 ALT="%s"><P>after</P>'
            '</BODY></HTML>\n' % " ".join(words))


def render(quillon, html_path, pdf_path):
    start = time.perf_counter()
    done = subprocess.run([quillon, "render", html_path, "--pdf", pdf_path, "--fixed-metrics"],
                          capture_output=True, text=True)
    elapsed = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit("quillon render failed (%d) on %s: %s" % (done.returncode, html_path,
                                                           done.stderr.strip()))
    return elapsed


def series(quillon, folder, name, sizes, make, unit):
    print("%s:" % name)
    warm = os.path.join(folder, "warm.htm")
    with open(warm, "w") as out:
        out.write(make(sizes[0]))
    render(quillon, warm, os.path.join(folder, "warm.pdf"))
    previous = None
    for size in sizes:
        path = os.path.join(folder, "doc.htm")
        with open(path, "w") as out:
            out.write(make(size))
        seconds = render(quillon, path, os.path.join(folder, "doc.pdf"))
        ratio = "" if previous is None or previous <= 0 else "  x%.2f" % (seconds / previous)
        print("  %8d %s  %7.3f s%s" % (size, unit, seconds, ratio))
        previous = seconds


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--paragraphs", default="25000,50000,100000,200000")
    parser.add_argument("--alt", default="50,100,200,450")
    args = parser.parse_args()
    quillon = os.path.join(args.build, "apps", "quillon", "quillon")
    if not os.access(quillon, os.X_OK):
        sys.exit("no quillon command at %s (build the quillon target first)" % quillon)
    sizes = lambda text: [int(s) for s in text.split(",") if s]
    with tempfile.TemporaryDirectory(prefix="quillon_scaling_") as folder:
        series(quillon, folder, "one-word paragraphs", sizes(args.paragraphs), paragraphs,
               "paragraphs")
        series(quillon, folder, "picture placeholder with a long ALT text", sizes(args.alt),
               alt_image, "KB of ALT")


if __name__ == "__main__":
    main()
