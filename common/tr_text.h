#pragma once

#include <QCoreApplication>
#include <QString>
#include <string>

namespace vorlix {

// A text of the program kept as a constant but translated each time it is
// used, so that a constant made before the translators are installed still
// comes in the language chosen at start. Its source text is marked for the
// translation tools where it is defined:
//   inline constexpr TrText kCaption{"Context", QT_TRANSLATE_NOOP("Context", "Текст")};
// with the same context twice.
class TrText {
  public:
    constexpr TrText(const char* context, const char* source)
        : context_(context), source_(source) {}

    QString text() const { return QCoreApplication::translate(context_, source_); }
    operator QString() const { return text(); }
    std::string toStdString() const { return text().toStdString(); }
    const char* source() const { return source_; }

  private:
    const char* context_;
    const char* source_;
};

}  // namespace vorlix
