#!/usr/bin/env python3
"""Writes a help project of N topics (default 2000) in the shape the program
writes projects, except that every topic is listed under [FILES] so that
plain chmcmd compiles it too: the same project for hhc and for chmcmd."""
import os
import sys

folder = sys.argv[1]
count = int(sys.argv[2]) if len(sys.argv) > 2 else 2000
os.makedirs(folder, exist_ok=True)
base = "Bench"


def write(name, text):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(text.encode("cp1252"))


pages = [f"{base}{i:04d}.htm" for i in range(1, count + 1)]
for i, page in enumerate(pages):
    nxt = pages[(i + 1) % count]
    body = "".join(f"<p>Paragraph {k} of topic {i + 1}, some words to compress here.</p>\r\n" for k in range(20))
    write(page, f"<html><head><title>Topic {i + 1}</title>"
                f"<link rel=\"stylesheet\" href=\"{base}.css\"></head>\r\n<body>\r\n<h1>Topic {i + 1}</h1>\r\n"
                f"{body}<a href=\"{nxt}\">next</a> <img src=\"pic{i % 50}.png\">\r\n</body></html>\r\n")
for k in range(50):
    with open(os.path.join(folder, f"pic{k}.png"), "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + bytes(range(256)) * 8)
write(f"{base}.css", "body { font-family: Arial; background: url(\"bg.png\"); }\r\n")
with open(os.path.join(folder, "bg.png"), "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\nbackground")

head = ("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
        "<META NAME=\"GENERATOR\" CONTENT=\"Orvex\">\r\n<!-- Sitemap 1.0 -->\r\n</HEAD><BODY>\r\n")
toc = [head, "<UL>\r\n"]
idx = [head, "<UL>\r\n\r\n"]
for i, page in enumerate(pages):
    toc.append(f"<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"Topic {i + 1}\">\r\n"
               f"<param name=\"Local\" value=\"{page}\">\r\n</OBJECT>\r\n")
    idx.append(f"<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"keyword {i + 1}\">\r\n"
               f"<param name=\"Name\" value=\"Topic {i + 1}\">\r\n<param name=\"Local\" value=\"{page}\">\r\n</OBJECT>\r\n")
toc.append("</UL>\r\n</BODY></HTML>\r\n")
idx.append("</UL>\r\n</BODY></HTML>\r\n")
write(f"{base}.hhc", "".join(toc))
write(f"{base}.hhk", "".join(idx))
write(f"{base}.h", "".join(f"#define IDH_{p[:-4]} {10000 + i}\r\n" for i, p in enumerate(pages)))
write(f"{base}.ali", "".join(f"IDH_{p[:-4]}={p}\r\n" for p in pages))
write(f"{base}.hhp",
      "[OPTIONS]\r\nCompatibility=1.1 or later\r\nCompiled file=Bench.chm\r\nContents file=Bench.hhc\r\n"
      "Display compile progress=No\r\nIndex file=Bench.hhk\r\nFull-text search=Yes\r\nTitle=Bench\r\n"
      "Language=0x0409 English (United States)\r\nError log file=Bench.log\r\nDefault topic=Bench0001.htm\r\n\r\n"
      "[FILES]\r\n" + "".join(p + "\r\n" for p in pages) + "Bench.css\r\nbg.png\r\n\r\n"
      "[ALIAS]\r\n#include Bench.ali\r\n\r\n[MAP]\r\n#include Bench.h\r\n")
