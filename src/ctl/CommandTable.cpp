// The command table: every sub-command with its options, arguments and help.
// The parser, the help texts, the man page check and the shell completion
// all read it; an option added here is parsed, shown and completed.
#include "ctl/CtlCommands.h"

#include "memory/SlotBackups.h"

#include <QDir>

namespace lmk::ctl {

namespace {

QString s(const char *text) { return QString::fromUtf8(text); }

const Option kJson{{s("json")}, s("print the result as one JSON object on standard output")};

QString memoryDescription() {
    return s("The receiver's 63 memory slots.\n"
             "  memory read -o FILE.Mem    read all slots into a file\n"
             "  memory write FILE.Mem      write a file's slots to the receiver\n"
             "  memory clear --yes         clear every slot\n"
             "  memory show FILE.Mem [--csv]  the slots' texts, one row per slot\n"
             "  memory backups             the backups, newest first\n"
             "  memory export FILE.Mem [-o FILE.csv] [--dialect excel-de]   the slots as CSV\n"
             "  memory import FILE.csv --base FILE.Mem -o OUT.Mem   a CSV applied onto an image\n"
             "  memory import LIST --base FILE.Mem -o OUT.Mem [--first-slot N] [--match TEXT]\n"
             "        [--range LOW-HIGH] [--on-air HHMM] [--day DAY] [--limit N]\n"
             "                             gqrx bookmarks, CHIRP CSV or EiBi schedule into slots\n"
             "                             from N (default 1) on, in the list's order\n"
             "  memory export FILE.Mem --format gqrx|chirp [-o FILE]\n"
             "                             the slots as gqrx bookmarks or a CHIRP CSV\n"
             "  memory diff A.Mem B.Mem    the slots that differ (exit 0 equal, 1 differ)\n"
             "Before a write or clear the receiver's slots are read into a backup .Mem file in\n"
             "%1; when that read fails, nothing is written\n"
             "(--no-backup writes without one). The newest %2 backups are kept. After a write\n"
             "the slots are read back and compared (exit 1 when one differs; --no-verify skips it).\n"
             "Every FILE may be '-': standard input, or standard output for -o.")
        .arg(QDir::toNativeSeparators(SlotBackupStore::defaultDirectory()))
        .arg(SlotBackupStore::kKept);
}

} // namespace

const QList<Option> &globalOptions() {
    static const QList<Option> list{
        {{s("host")}, s("the receiver's access point (default: LMK_HOST, the saved address or %1)")
                          .arg(QString::fromLatin1(kDefaultHost)),
         s("H")},
        {{s("port")}, s("its TCP port (default: LMK_PORT, the saved port or 55555)"), s("P")},
        {{s("usb")}, s("use the USB library named by LMK_USB_LIBRARY")},
        {{s("trace")}, s("print every request and frame in hex on standard error")},
        {{s("q"), s("quiet")}, s("no progress and no success messages on standard error")},
        {{s("h"), s("help")}, s("this help")},
        {{s("V"), s("version")}, s("the program's version")},
    };
    return list;
}

const QList<Command> &commands() {
    static const QList<Command> list{
        {s("version"), s("print the receiver's version text"), {},
         s("Prints the receiver's version text, e.g. LMK540 V103."),
         {kJson}, {}, false, runVersion},
        {s("sync"), s("print whether the bootloader or the configuration is active"), {},
         s("Synchronises with the receiver and prints whether its bootloader or its configuration "
           "is active."),
         {kJson}, {}, false, runSync},
        {s("tasks"), s("list the external tasks"), {},
         s("Lists the receiver's external tasks, one per line, as the window shows them (three "
           "ids in hex). Synchronises first: the bootloader must be active."),
         {kJson}, {}, false, runTasks},
        {s("upload"), s("load a file into the configuration or an external task"), s("FILE"),
         s("Loads FILE (.RPD) into the receiver's configuration (default) or into an external "
           "task. Synchronises first: the bootloader must be active. The file's name must match "
           "the target (\"LMK...\" for the configuration, characters 5-8 equal to the task's "
           "first id) unless --yes is given. FILE '-' reads standard input (its name is \"-\": "
           "give --yes)."),
         {
             {{s("task")}, s("load into the N-th external task as 'lmkctl tasks' lists them (from 1)"), s("N")},
             {{s("ids")}, s("load into the external task with these ids (hex)"), s("A,B,C")},
             {{s("yes")}, s("load even when the file's name does not match the target")},
             {{s("json")}, s("one JSON object a line on standard output for each phase (phase: "
                             "clearing, sending) and one for the end (finished, failed or stopped; "
                             "sent, size, target)")},
         },
         {}, true, runUpload, {{QString(), {s("rpd"), s("bin")}}}},
        {s("scan"), s("copy the screen into a PNG or BMP file or onto the clipboard"), {},
         s("Copies the receiver's screen, or a rectangle of it, into a PNG or BMP file (by the "
           "file's extension) or onto the desktop's clipboard.\n"
           "Presets: full-vga 0,0,640,480  full-wvga 0,0,800,480  diagram-vga 0,93,520,387  "
           "diagram-wvga 0,93,648,387"),
         {
             {{s("preset")}, s("full-vga, full-wvga (default), diagram-vga or diagram-wvga"), s("NAME"), {},
              {s("full-vga"), s("full-wvga"), s("diagram-vga"), s("diagram-wvga")}},
             {{s("area")}, s("the rectangle X,Y,W,H on the 800 x 480 screen"), s("X,Y,W,H")},
             {{s("o"), s("output")},
              s("the picture file; .png or .bmp. With --count, a %d form (e.g. shot-%03d.png) "
                "takes the capture number; without one the number goes before the extension "
                "(shot-1.png)"),
              s("FILE"), {}, {}, {s("png"), s("bmp")}},
             {{s("format")}, s("png or bmp: the picture's type, needed for -o - (standard output)"),
              s("TYPE"), {}, {s("png"), s("bmp")}},
             {{s("framed")}, s("write the window's 810 x 490 picture (the area at 5,5 in a black "
                               "frame) instead of exactly W x H pixels")},
             {{s("count")}, s("number of captures (default 1); 0 runs until Ctrl+C, which aborts "
                              "the running scan and keeps the files written"),
              s("N"), s("1")},
             {{s("interval")}, s("seconds from the start of one capture to the start of the next "
                                 "(default 0: at once)"),
              s("SECONDS"), s("0")},
             {{s("overwrite")}, s("let a series replace files that exist (without it the series "
                                  "stops before the first capture whose file exists)")},
             {{s("scale")}, s("enlarge the picture N times, 1 to 4, by whole pixels without "
                              "smoothing (default 1)"),
              s("N"), s("1"), {s("1"), s("2"), s("3"), s("4")}},
             {{s("clipboard")}, s("put the picture on the desktop's clipboard (needs a display); "
                                  "with -o as well, also into the file")},
             {{s("json")}, s("print each capture's facts as one JSON object a line: file, width, "
                             "height, area, receiver, time, program, scale, clipboard")},
         },
         {}, false, runScan},
        {s("memory"), s("read, write, clear or show the 63 memory slots"), s("ACTION [FILE...]"),
         memoryDescription(),
         {
             {{s("o"), s("output")}, s("read, import: the .Mem file to write; export: the CSV file "
                                       "(default: standard output)"),
              s("FILE"), {}, {}, {s("mem"), s("csv")}},
             {{s("yes")}, s("clear: confirm clearing every slot; write: confirm writing a file that "
                            "is not exactly 63 slots (16128 bytes), or to a receiver that sends 248 "
                            "of each slot's 256 bytes")},
             {{s("no-verify")}, s("write: do not read the slots back and compare them")},
             {{s("dialect")}, s("export: plain (',' and '.', the default) or excel-de (';', "
                                "decimal comma, UTF-8 byte order mark)"),
              s("NAME")},
             {{s("csv")}, s("show: the CSV that export writes (and import reads)")},
             {{s("base")}, s("import: the .Mem file the CSV is applied to; its bytes that the CSV "
                             "does not name are kept"),
              s("FILE"), {}, {}, {s("mem")}},
             {{s("zero-base")}, s("import: apply the CSV to an all-zero image instead of --base")},
             {{s("format")}, s("import: own (the slot CSV), gqrx, chirp or eibi (default: what the "
                               "content shows); export: gqrx, chirp or own (default)"),
              s("NAME"), {}, {s("own"), s("gqrx"), s("chirp"), s("eibi")}},
             {{s("first-slot")}, s("import: the slot of the first chosen entry, 1 to 63 (default "
                                   "1); more entries than slots from there write nothing"),
              s("N")},
             {{s("match")}, s("import: entries whose name (EiBi: station) contains TEXT, any case"),
              s("TEXT")},
             {{s("range")}, s("import: entries from LOW to HIGH kHz, e.g. 5900-6200"), s("LOW-HIGH")},
             {{s("on-air")}, s("import: EiBi rows on air at this time in UTC, e.g. 1800 (on --day, "
                               "default today)"),
              s("HHMM")},
             {{s("day")}, s("import: EiBi rows on air on this day (UTC)"), s("DAY"), {},
              {s("Mo"), s("Tu"), s("We"), s("Th"), s("Fr"), s("Sa"), s("Su")}},
             {{s("limit")}, s("import: only the first N entries the other options choose"), s("N")},
             {{s("no-backup")}, s("write, clear: do not read the slots into a backup first")},
             {{s("json")}, s("read, write, clear, show, backups, diff: the result as one JSON object "
                             "on standard output (export, import and show --csv write CSV and "
                             "refuse it)")},
         },
         {s("read"), s("write"), s("clear"), s("show"), s("backups"), s("export"), s("import"), s("diff")},
         true, runMemory, {{s("import"), {s("csv")}}, {QString(), {s("mem")}}}},
        {s("terminal"), s("terminal lines from standard input, received text to standard output (USB)"), {},
         s("Switches the receiver into terminal mode (USB only: give --usb), sends every line of "
           "standard input as a terminal line and writes the text the receiver sends back to "
           "standard output. Ends at the end of standard input, after the receiver has gone "
           "quiet, leaving terminal mode. On a terminal the line is edited with a history "
           "(Up/Down); Ctrl+D on an empty line or Ctrl+] ends the session. A line takes at "
           "most 253 characters: a longer one is refused, not split.\n"
           "With --send and --expect the session is a script instead: the lines are sent and "
           "the expectations waited for in the order given, and the command ends by itself "
           "(exit 0 when every expectation was met, 1 when one was not within --timeout).\n"
           "  lmkctl --usb terminal --send ver --expect 'V[0-9]+' --timeout 5"),
         {
             {{s("timestamps")}, s("start each received line with the local time HH:MM:SS.mmm")},
             {{s("hex")}, s("show the received bytes as hex rows: offset, 16 bytes, their "
                            "printable characters")},
             {{s("log")}, s("append the session to FILE: every received and sent line with "
                            "date and time to the millisecond, sent lines marked TX, received RX"),
              s("FILE")},
             {{s("send")}, s("send LINE (repeatable; in order with --expect)"), s("LINE")},
             {{s("expect")}, s("wait until the text received since the sends before it matches "
                               "REGEX (repeatable; in order with --send)"),
              s("REGEX")},
             {{s("timeout")}, s("seconds each --expect waits (default 10)"), s("SECONDS"),
              s("10")},
         },
         {}, false, runTerminal},
        {s("ap"), s("show or set the receiver's WiFi access point (USB)"), s("show|set"),
         s("The receiver's WiFi access point (USB only: give --usb).\n"
           "  ap show     print name, passkey, channel and transmit power as the\n"
           "              receiver reports them\n"
           "  ap set [--ssid S] [--passkey P] [--channel C] [--power DBM]\n"
           "              configure and save them; a value not given stays as\n"
           "              the receiver reports it, and must be one the window\n"
           "              would send back"),
         {
             {{s("ssid")}, s("set: the name, 10 characters"), s("S")},
             {{s("passkey")}, s("set: the passkey, 22 characters"), s("P")},
             {{s("channel")}, s("set: the channel, 0 to 11"), s("C")},
             {{s("power")}, s("set: the transmit power in dBm, 0 to 19"), s("DBM")},
             {{s("json")}, s("the settings as one JSON object on standard output; set adds "
                             "saved (the module confirmed them) and its answer")},
         },
         {s("show"), s("set")}, false, runAp},
        {s("help"), s("describe the program or one command"), s("[COMMAND]"),
         s("Prints the program's help, or with COMMAND that command's help, as --help does."),
         {}, {}, false, nullptr},
        {s("completion"), s("print the shell completion for bash or zsh"), s("bash|zsh"),
         s("Prints the completion script for bash or zsh, made from the same table as the help.\n"
           "  bash:  source <(lmkctl completion bash)\n"
           "  zsh:   source <(lmkctl completion zsh)   (after compinit)\n"
           "The package installs both, so that completion works in new shells."),
         {}, {s("bash"), s("zsh")}, false, nullptr},
    };
    return list;
}

const Command *findCommand(const QString &name) {
    for (const Command &c : commands())
        if (c.name == name)
            return &c;
    return nullptr;
}

} // namespace lmk::ctl
