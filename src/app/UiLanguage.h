#pragma once
// The language of the window's texts. The texts written in the code are the
// program's own (partly German, partly English) and stay the default; the
// English translation comes from :/i18n/lmkinterface_en.qm, built from
// translations/lmkinterface_en.ts.
//
// Widgets are translated where they stand: each translated property keeps
// the text the program gave it, so switching back restores it, and a text
// the program sets later (a status, a counter) is translated before it is
// drawn. Message boxes and file filters are translated by the dialogs.
//
// A text with numbers in it is looked up with each number as %1, %2, ...:
// "Bytes sent: 512" finds "Bytes sent: %1".

#include <QObject>
#include <QString>
#include <QTranslator>

class QWidget;

namespace lmk {

enum class Language { Specified, English };

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

    // The stored setting's key and values ("de", "en").
    static constexpr const char *kSettingKey = "language";

  signals:
    void languageChanged(lmk::Language language);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    UiLanguage();
    void apply(Language language);

    Language m_language = Language::Specified;
    QTranslator m_translator;
    bool m_installed = false;
};

} // namespace lmk
