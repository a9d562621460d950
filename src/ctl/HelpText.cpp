#include "ctl/HelpText.h"

namespace lmk::ctl {

namespace {

constexpr int kWidth = 79;
constexpr int kOptionColumn = 24;

// `text` broken into lines of at most kWidth - indent characters, every line
// after the first indented by `indent`. Lines of the text stay lines.
QString wrapped(const QString &text, int indent, int firstColumn) {
    QString result;
    int column = firstColumn;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int l = 0; l < lines.size(); ++l) {
        if (l > 0) {
            result += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            column = indent;
        }
        // Lines that begin with spaces are laid out already.
        if (lines[l].startsWith(QLatin1Char(' '))) {
            result += lines[l];
            continue;
        }
        bool first = true;
        for (const QString &word : lines[l].split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!first && column + 1 + word.size() > kWidth) {
                result += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
                column = indent;
                first = true;
            }
            if (!first) {
                result += QLatin1Char(' ');
                ++column;
            }
            result += word;
            column += int(word.size());
            first = false;
        }
    }
    return result;
}

QString dashed(const QString &name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString optionTable(const QList<Option> &options) {
    QString text;
    for (const Option &o : options) {
        QStringList names;
        for (const QString &n : o.names)
            names << dashed(n);
        QString left = QStringLiteral("  ") + names.join(QStringLiteral(", "));
        if (!o.value.isEmpty())
            left += QLatin1Char(' ') + o.value;
        if (left.size() + 2 > kOptionColumn)
            left += QLatin1Char('\n') + QString(kOptionColumn, QLatin1Char(' '));
        else
            left = left.leftJustified(kOptionColumn);
        text += left + wrapped(o.help, kOptionColumn, kOptionColumn) + QLatin1Char('\n');
    }
    return text;
}

const Option &helpOption() {
    static const Option o{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("this help")};
    return o;
}

QString globalOptionsOf(bool withHelp) {
    QList<Option> list;
    for (const Option &o : globalOptions())
        if (withHelp || o.names.last() != QLatin1String("help"))
            list << o;
    return optionTable(list);
}

QString optionWords(const QList<Option> &options, bool valuesOnly) {
    QStringList words;
    for (const Option &o : options)
        if (!valuesOnly || !o.value.isEmpty())
            for (const QString &n : o.names)
                words << dashed(n);
    return words.join(QLatin1Char(' '));
}

QString commandNames() {
    QStringList names;
    for (const Command &c : commands())
        names << c.name;
    return names.join(QLatin1Char(' '));
}

// The shell code both scripts share: for each command its options, the
// options that take a value, the words of its first argument and whether
// its arguments are files; then how each option's value is completed.
// `offerWords` and `offerFiles` are the shell's ways to offer them.
// How one shell offers what the completion found.
struct Shell {
    bool zsh = false;
    // Words: $1 the words' variable (unquoted use), with the prefix $pre
    // (the "--opt=" of a value in one word).
    QString words(const QString &list) const {
        return zsh ? QStringLiteral("compadd -- ${${=:-%1}/#/$pre}").arg(list)
                   : QStringLiteral("COMPREPLY=($(compgen -W \"%1\" -P \"$pre\" -- \"$val\"))").arg(list);
    }
    // Words with their descriptions (zsh shows them beside the words).
    QString described(const QString &list, const QString &descriptions) const {
        return zsh ? QStringLiteral("compadd -l -d %2 -- ${=:-%1}").arg(list, descriptions)
                   : words(list);
    }
    // Files of the types in $ftypes (lower-case extensions), and folders.
    QString files() const {
        return zsh ? QStringLiteral("_lmkctl_files") : QStringLiteral("_lmkctl_files");
    }
};

// A text in single quotes for the shell.
QString quoted(const QString &text) {
    QString q = text;
    q.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

// The first sentence of a help text, short enough for a completion menu.
QString shortHelp(const QString &help) {
    QString first = help.section(QLatin1Char('\n'), 0, 0);
    const qsizetype stop = first.indexOf(QLatin1String("; "));
    if (stop > 0)
        first = first.left(stop);
    if (first.size() > 60)
        first = first.left(57) + QStringLiteral("...");
    return first;
}

// "word -- description" lines for zsh's compadd -d, in the order of the words.
QString descriptionArray(const QList<Option> &options) {
    QStringList items;
    for (const Option &o : options)
        for (const QString &n : o.names)
            items << quoted(dashed(n) + QStringLiteral("  -- ") + shortHelp(o.help));
    return items.join(QLatin1Char(' '));
}

QString typesOf(const QStringList &types) { return types.join(QLatin1Char(' ')); }

// The shell function that offers files of the types in $ftypes and folders.
QString filesFunction(bool zsh) {
    if (zsh)
        return QStringLiteral(
            "_lmkctl_files() {\n"
            "    if [[ -n \"$pre\" ]]; then compset -P '*='; fi\n"
            "    if [[ -z \"$ftypes\" ]]; then _files; return; fi\n"
            "    _files -g \"*.(#i)(${(j:|:)${=ftypes}})\"\n"
            "}\n");
    return QStringLiteral(
        "_lmkctl_files() {\n"
        "    local f ext\n"
        "    compopt -o filenames 2>/dev/null\n"
        "    COMPREPLY=()\n"
        "    while IFS= read -r f; do\n"
        "        ext=\"${f##*.}\"\n"
        "        if [[ -z \"$ftypes\" || -d \"$f\" || ( \"$f\" == *.* && \" $ftypes \" == *\" ${ext,,} \"* ) ]]; then\n"
        "            COMPREPLY+=(\"$pre$f\")\n"
        "        fi\n"
        "    done < <(compgen -f -- \"$val\")\n"
        "}\n");
}

QString completionBody(const Shell &sh) {
    QString t;
    QStringList commandDescriptions;
    for (const Command &c : commands())
        commandDescriptions << quoted(c.name + QStringLiteral("  -- ") + c.summary);
    t += QStringLiteral("    local opts=\"\" valopts=\"\" wordlist=\"\" files=0 ftypes=\"\" pre=\"\" val=\"$cur\"\n"
                        "    local -a optdescs=() cmddescs=(%2)\n"
                        "    case \"$cmd\" in\n"
                        "        \"\"|help) wordlist=\"%1\" ;;\n")
             .arg(commandNames(), commandDescriptions.join(QLatin1Char(' ')));
    for (const Command &c : commands()) {
        if (c.name == QLatin1String("help"))
            continue;
        t += QStringLiteral("        %1)\n"
                            "            opts=\"%2\"\n"
                            "            valopts=\"%3\"\n"
                            "            wordlist=\"%4\"\n"
                            "            files=%5\n"
                            "            optdescs=(%6)\n"
                            "            ;;\n")
                 .arg(c.name, optionWords(c.options, false), optionWords(c.options, true),
                      c.actions.join(QLatin1Char(' ')),
                      c.fileArguments ? QStringLiteral("1") : QStringLiteral("0"),
                      descriptionArray(c.options));
    }
    t += QStringLiteral("    esac\n"
                        "    opts=\"$opts %1\"\n"
                        "    valopts=\"$valopts %2\"\n"
                        "    optdescs+=(%3)\n")
             .arg(optionWords(globalOptions(), false), optionWords(globalOptions(), true),
                  descriptionArray(globalOptions()));
    // --opt=VALUE in one word; bash may also split it at the '=' into
    // "--opt" "=" "VALUE".
    t += QStringLiteral("    if [[ \"$cur\" == --*=* ]]; then\n"
                        "        prev=\"${cur%%=*}\"; pre=\"$prev=\"; val=\"${cur#*=}\"\n"
                        "    elif [[ \"$cur\" == = ]]; then\n"
                        "        prev=\"${line[last-1]}\"; val=\"\"\n"
                        "    elif [[ \"$prev\" == = ]] && ((last >= 2)); then\n"
                        "        prev=\"${line[last-2]}\"\n"
                        "    fi\n"
                        "    if [[ \" $valopts \" == *\" $prev \"* ]]; then\n"
                        "        case \"$cmd:$prev\" in\n");
    for (const Command &c : commands()) {
        for (const Option &o : c.options) {
            if (o.choices.isEmpty() && !o.fileValue())
                continue;
            QStringList patterns;
            for (const QString &n : o.names)
                patterns << c.name + QLatin1Char(':') + dashed(n);
            t += QStringLiteral("            %1) %2 ;;\n")
                     .arg(patterns.join(QLatin1Char('|')),
                          o.fileValue() ? QStringLiteral("ftypes=\"%1\"; %2").arg(typesOf(o.fileTypes), sh.files())
                                        : sh.words(o.choices.join(QLatin1Char(' '))));
        }
    }
    t += QStringLiteral("        esac\n"
                        "        return 0\n"
                        "    fi\n"
                        "    [[ -n \"$pre\" ]] && return 0\n"
                        "    if [[ \"$cur\" == -* ]]; then\n"
                        "        %1\n"
                        "        return 0\n"
                        "    fi\n"
                        "    local n=0 act=\"\" w\n"
                        "    for ((i = i + 1; i < last; i++)); do\n"
                        "        w=\"${line[i]}\"\n"
                        "        if [[ \" $valopts \" == *\" $w \"* ]]; then\n"
                        "            ((i++))\n"
                        "        elif [[ \"$w\" != -* ]]; then\n"
                        "            ((n++))\n"
                        "            [[ -z \"$act\" ]] && act=\"$w\"\n"
                        "        fi\n"
                        "    done\n"
                        "    if [[ -n \"$wordlist\" && $n -eq 0 ]]; then\n"
                        "        if [[ -z \"$cmd\" || \"$cmd\" == help ]]; then\n"
                        "            %2\n"
                        "        else\n"
                        "            %3\n"
                        "        fi\n"
                        "    elif ((files)); then\n"
                        "        case \"$cmd:$act\" in\n")
             .arg(sh.described(QStringLiteral("$opts"), QStringLiteral("optdescs")),
                  sh.described(QStringLiteral("$wordlist"), QStringLiteral("cmddescs")),
                  sh.words(QStringLiteral("$wordlist")));
    for (const Command &c : commands()) {
        if (!c.fileArguments)
            continue;
        for (auto it = c.argumentTypes.cbegin(); it != c.argumentTypes.cend(); ++it)
            if (!it.key().isEmpty())
                t += QStringLiteral("            %1:%2) ftypes=\"%3\" ;;\n").arg(c.name, it.key(), typesOf(it.value()));
        t += QStringLiteral("            %1:*) ftypes=\"%2\" ;;\n")
                 .arg(c.name, typesOf(c.argumentTypes.value(QString())));
    }
    t += QStringLiteral("        esac\n"
                        "        %1\n"
                        "    fi\n"
                        "    return 0\n")
             .arg(sh.files());
    return t;
}

// Finds the command: the first word that is no option and no value of a
// global option; `first` and `last` bound the words before the cursor.
QString commandSearch(const QString &first) {
    return QStringLiteral("    local cmd=\"\" i\n"
                          "    for ((i = %1; i < last; i++)); do\n"
                          "        case \"${line[i]}\" in\n"
                          "            %2) ((i++)) ;;\n"
                          "            -*) ;;\n"
                          "            *) cmd=\"${line[i]}\"; break ;;\n"
                          "        esac\n"
                          "    done\n")
        .arg(first, optionWords(globalOptions(), true).replace(QLatin1Char(' '), QLatin1Char('|')));
}

} // namespace

QString programHelp() {
    QString text = QStringLiteral("Usage: lmkctl [OPTIONS] COMMAND [ARGS]\n\n"
                                  "Options (before or after the command):\n");
    text += globalOptionsOf(true);
    text += QStringLiteral("\nCommands:\n");
    for (const Command &c : commands())
        text += QStringLiteral("  ") + c.name.leftJustified(12) + wrapped(c.summary, 14, 14) +
                QLatin1Char('\n');
    text += QStringLiteral(
        "\n'lmkctl help COMMAND' or 'lmkctl COMMAND --help' describes a command; help\n"
        "never sends anything to the receiver. Options take their value as --opt VALUE\n"
        "or --opt=VALUE.\n"
        "Exit codes: 0 done, 1 refused or error reported by the receiver, 2 wrong usage,\n"
        "3 no connection, 4 timeout, 130/143/129 stopped by Ctrl+C, SIGTERM or SIGHUP\n"
        "(the command says how far it got), 141 standard output's reader went away.\n");
    return text;
}

QString commandHelp(const Command &c) {
    QString text = QStringLiteral("Usage: lmkctl %1 [OPTIONS]").arg(c.name);
    if (!c.synopsis.isEmpty())
        text += QLatin1Char(' ') + c.synopsis;
    text += QStringLiteral("\n\n") + wrapped(c.description, 0, 0) + QStringLiteral("\n\nOptions:\n");
    text += optionTable(c.options + QList<Option>{helpOption()});
    text += QStringLiteral("\nGlobal options (before or after the command):\n");
    text += globalOptionsOf(false);
    return text;
}

QString completionScript(const QString &shell) {
    if (shell == QLatin1String("zsh")) {
        return QStringLiteral("#compdef lmkctl\n"
                              "# zsh completion for lmkctl, made by 'lmkctl completion zsh'.\n") +
               filesFunction(true) +
               QStringLiteral("_lmkctl() {\n"
                              "    local -a line=(\"${words[@]}\")\n"
                              "    local last=$CURRENT cur=\"${words[CURRENT]}\" prev=\"${words[CURRENT-1]}\"\n") +
               commandSearch(QStringLiteral("2")) + completionBody(Shell{true}) +
               QStringLiteral("}\n"
                              "if [[ \"${funcstack[1]}\" == _lmkctl ]]; then\n"
                              "    _lmkctl \"$@\"\n"
                              "else\n"
                              "    compdef _lmkctl lmkctl\n"
                              "fi\n");
    }
    return QStringLiteral("# bash completion for lmkctl, made by 'lmkctl completion bash'.\n") +
           filesFunction(false) +
           QStringLiteral("_lmkctl() {\n"
                          "    local -a line=(\"${COMP_WORDS[@]}\")\n"
                          "    local last=$COMP_CWORD cur=\"${COMP_WORDS[COMP_CWORD]}\"\n"
                          "    local prev=\"${COMP_WORDS[COMP_CWORD-1]}\"\n"
                          "    COMPREPLY=()\n") +
           commandSearch(QStringLiteral("1")) + completionBody(Shell{false}) +
           QStringLiteral("}\n"
                          "complete -F _lmkctl lmkctl\n");
}

} // namespace lmk::ctl
