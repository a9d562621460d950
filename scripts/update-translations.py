#!/usr/bin/env python3
"""Refreshes translations/*.ts from the texts in the window's code.

The window looks its texts up by the text itself (context "lmk"; see
src/app/UiLanguage.h), so the code holds plain string literals and no tr()
calls for lupdate to find. This script does lupdate's part: it collects the
literals of the window's code (src/app, src/*/ui and the texts that widget-free
operations hand to the window) that read as texts for people, and adds each
one that a catalogue lacks as an unfinished message (empty translation, so the
program shows the source text until it is translated). Nothing is removed or
changed; a text no longer in the code is reported, for a person to remove.

    python3 scripts/update-translations.py          # add what is missing
    python3 scripts/update-translations.py --check  # only report; exit 1 if any

Then translate the new messages (Qt Linguist, or by hand: each is a
<message> with <translation type="unfinished"></translation>) and run the
test tst_language, which walks every page in each language.
"""
import glob
import os
import re
import sys
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CATALOGUES = sorted(glob.glob(os.path.join(ROOT, "translations", "lmkinterface_*.ts")))

# Where the window's texts are written.
SOURCES = (glob.glob(os.path.join(ROOT, "src", "app", "*.cpp")) +
           glob.glob(os.path.join(ROOT, "src", "*", "ui", "*.cpp")) +
           glob.glob(os.path.join(ROOT, "src", "*", "ui", "*.h")) +
           [p for p in glob.glob(os.path.join(ROOT, "src", "*", "*.h")) +
            glob.glob(os.path.join(ROOT, "src", "*", "*.cpp"))
            if "/ctl/" not in p])

# A literal in one of these calls is no text for people.
NOT_TEXT_CALL = re.compile(
    r"(setObjectName|findChild|findChildren|setProperty|property|value|setValue|"
    r"QLatin1String|startsWith|endsWith|contains|compare|QIcon|QPixmap|QFile|"
    r"qFatal|qWarning|qDebug|fprintf|toString|fromString|setStyleSheet|QFont|"
    r"addControllingSignal|QDateTime|QTime|QDate|QRegularExpression|mimeData|setData|"
    r"hasFormat|QByteArrayLiteral|load|setFamilies|setFamily|setApplicationName|"
    r"setDesktopFileName|setOrganizationName)\s*\(\s*\{?\s*((QStringLiteral\s*\()?\s*"
    r'"(?:[^"\\]|\\.)*"\s*\)?\s*,\s*)*(QStringLiteral\s*\()?\s*$')
LITERAL = re.compile(r'QStringLiteral\(\s*((?:"(?:[^"\\]|\\.)*"\s*)+)\)')
PIECE = re.compile(r'"((?:[^"\\]|\\.)*)"')


def unescape(text):
    text = re.sub(r"\\u([0-9a-fA-F]{4})", lambda m: chr(int(m.group(1), 16)), text)
    return (text.replace('\\"', '"').replace("\\n", "\n").replace("\\t", "\t")
            .replace("\\\\", "\\"))


# Literals that read as texts but are none: font and style names, the
# receiver's own texts, and texts the catalogue has with a number as %1.
IGNORED = {
    "Fusion", "Arial", "Liberation Sans", "Nimbus Sans", "Helvetica", "lmkinterface ",
    "Version 1.4", "LMK%1 V%2", "CR", "LF", "16128  OK!", "Sample: 0", "Samplerate: 0",
    "Off",  # the English grid's filter text; the catalogues need none
}


def reads_as_text(text):
    if text in IGNORED:
        return False
    if not re.search(r"[A-Za-zÄÖÜäöüß]{2}", text):
        return False
    if re.fullmatch(r"[A-Za-z]+_[A-Za-z0-9_]*", text):  # an object name
        return False
    if re.fullmatch(r"[a-z][A-Za-z0-9]*", text):         # a key or identifier
        return False
    if text.startswith((":/", "/", ".", "*.", "application/", "yyyy")) or "\n" in text:
        return False
    if re.fullmatch(r"[\s\d.,]+[A-Za-z]{1,3}", text):  # a value and its unit ("20 dB")
        return False
    if re.fullmatch(r"[\s%\d:]*[A-Za-z_]+[=/][\w%]*", text):  # "LMK_HOST=%1", a key path
        return False
    return True


def texts_of(text):
    # A file filter "Description|pattern|...": the descriptions.
    if "|" in text:
        return text.split("|")[0::2]
    return [text]


def code_texts():
    found = {}
    for path in sorted(set(SOURCES)):
        with open(path, encoding="utf-8") as f:
            code = f.read()
        code = re.sub(r"//[^\n]*", "", code)
        for m in LITERAL.finditer(code):
            if NOT_TEXT_CALL.search(code[max(0, m.start() - 80):m.start()]):
                continue
            for text in texts_of(unescape("".join(PIECE.findall(m.group(1))))):
                if reads_as_text(text):
                    found.setdefault(text, os.path.relpath(path, ROOT))
    return found


def catalogue_sources(path):
    return [m.findtext("source") for m in ET.parse(path).iter("message")]


def add_unfinished(path, texts):
    with open(path, encoding="utf-8") as f:
        content = f.read()
    entries = "".join(
        "    <message>\n"
        f"        <source>{escape(t)}</source>\n"
        '        <translation type="unfinished"></translation>\n'
        "    </message>\n" for t in texts)
    at = content.rindex("</context>")
    with open(path, "w", encoding="utf-8") as f:
        f.write(content[:at] + entries + content[at:])


def main():
    check = "--check" in sys.argv[1:]
    texts = code_texts()
    missing_any = False
    for path in CATALOGUES:
        known = set(catalogue_sources(path))
        missing = [t for t in texts if t not in known]
        name = os.path.relpath(path, ROOT)
        for t in missing:
            print(f"{name}: new: {t!r} ({texts[t]})")
        if missing and not check:
            add_unfinished(path, missing)
        missing_any = missing_any or bool(missing)
        print(f"{name}: {len(known)} messages, {len(missing)} "
              f"{'missing' if check else 'added'}")
    return 1 if check and missing_any else 0


if __name__ == "__main__":
    sys.exit(main())
