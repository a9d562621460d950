#pragma once
// The language of the window's texts: the program's own texts as written in
// the code (partly German, partly English; the default, "Original"),
// English, or German. The translations come from :/i18n/lmkinterface_en.qm
// and lmkinterface_de.qm, built from translations/*.ts.
//
// Widgets are translated where they stand: each translated property keeps
// the text the program gave it, so switching back restores it, and a text
// the program sets later (a status, a counter) is translated before it is
// drawn. Message boxes and file filters are translated by the dialogs.
//
// A text is looked up whole; then with each number as %1, %2, ...
// ("Bytes sent: 512" finds "Bytes sent: %1"); then against the
// catalogue's texts with placeholders, each part that stands for one
// translated in turn ("Cannot open file "a.Mem". No such file" finds
// "Cannot open file "%1". %2").

#include <QHash>
#include <QList>
#include <QObject>
#include <QRegularExpression>
#include <QString>
#include <QTranslator>

class QWidget;

namespace lmk {

enum class Language { Specified, English, German };

class UiLanguage : public QObject {
    Q_OBJECT
  public:
    static UiLanguage &instance();

    Language language() const { return m_language; }
    // Installs or removes the translation, stores the choice and translates
    // every open window.
    void setLanguage(Language language);
    // The stored choice (or the default), applied at start-up.
    void restore();

    // `source` in the language chosen.
    static QString translate(const QString &source);
    // A file dialog filter "Description|pattern|...", each description
    // translated.
    static QString translateFilter(const QString &filter);
    // Translates `root` and every widget and action below it.
    static void retranslate(QWidget *root);

    // The stored setting's key and values ("original", "en", "de").
    static constexpr const char *kSettingKey = "language";

  signals:
    void languageChanged(lmk::Language language);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    UiLanguage();
    void apply(Language language);
    QString lookUpPatterns(const QString &source, int depth) const;

    // A catalogue text with placeholders, as a pattern over shown texts.
    struct Pattern {
        QRegularExpression match;
        QString source;
        QList<int> places; // the placeholder number of each capture
    };
    QList<Pattern> m_patterns;
    mutable QHash<QString, QString> m_cache;

    Language m_language = Language::Specified;
    QTranslator m_translator;
    bool m_installed = false;
};

} // namespace lmk
