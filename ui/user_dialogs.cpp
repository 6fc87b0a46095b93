#include "ui/user_dialogs.h"

#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QRegularExpression>
#include <algorithm>

namespace vorlix {

QString QtFileFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        name.remove(trailingPatterns);
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString trimmed = p.trimmed();
            if (!trimmed.isEmpty()) patterns << trimmed;
        }
        if (name.isEmpty()) name = patterns.join(QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

// ---- the real dialogs

namespace {

// The window system writes a box's title (its caption and the program's
// name) into a title bar only as wide as the box, so a box with a short
// text cut it ("Подтвер… lix Editor"). The box is made wide enough for the
// title in a bold font, with room for the title bar's icon and buttons. Run
// it when the box is otherwise ready: the box may lay itself out anew on a
// change.
void GiveRoomForTitle(QMessageBox& box) {
    QFont font = box.font();
    font.setBold(true);
    const QString program = QGuiApplication::applicationDisplayName();
    const QString title = program.isEmpty() || box.windowTitle().isEmpty()
                              ? box.windowTitle()
                              : box.windowTitle() + QStringLiteral(" — ") + program;
    const int width = QFontMetrics(font).horizontalAdvance(title) + 160;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, std::max(grid->columnCount(), 1));
}

}  // namespace

QString QtUserDialogs::StartFolder() const {
    return lastFolder_.isEmpty() ? QDir::currentPath() : lastFolder_;
}

void QtUserDialogs::Remember(const QString& chosenPath) {
    if (!chosenPath.isEmpty()) lastFolder_ = QFileInfo(chosenPath).absolutePath();
}

Answer QtUserDialogs::Ask(const QString& caption, const QString& text, Buttons buttons) {
    QMessageBox box(parent_);
    box.setWindowTitle(caption);
    box.setText(text);
    if (buttons == Buttons::Ok) {
        box.setIcon(caption == kCaptionError     ? QMessageBox::Critical
                    : caption == kCaptionWarning ? QMessageBox::Warning
                                                 : QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        GiveRoomForTitle(box);
        box.exec();
        return Answer::Ok;
    }
    box.setIcon(QMessageBox::Question);
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
    }
    GiveRoomForTitle(box);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
}

QString QtUserDialogs::OpenFile(const QString& filter, const QString& defaultSuffix) {
    QFileDialog dialog(parent_, QString(), StartFolder(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString path = dialog.selectedFiles().first();
    Remember(path);
    return path;
}

QStringList QtUserDialogs::OpenFiles(const QString& filter) {
    QFileDialog dialog(parent_, QString(), StartFolder(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList paths = dialog.selectedFiles();
    if (!paths.isEmpty()) Remember(paths.first());
    return paths;
}

UserDialogs::SaveChoice QtUserDialogs::SaveFile(const QString& filter, const QString& initialName,
                                                const QString& defaultSuffix) {
    QFileDialog dialog(parent_, QString(), StartFolder(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!initialName.isEmpty()) dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    SaveChoice choice;
    choice.path = dialog.selectedFiles().first();
    choice.filterIndex =
        std::max<int>(0, int(dialog.nameFilters().indexOf(dialog.selectedNameFilter())));
    Remember(choice.path);
    return choice;
}

std::optional<QColor> QtUserDialogs::ChooseColour() {
    const QColor colour = QColorDialog::getColor(Qt::black, parent_);
    if (!colour.isValid()) return std::nullopt;
    return colour;
}

int QtUserDialogs::ShowModal(QDialog& dialog) { return dialog.exec(); }

// ---- scripted answers

QString ScriptedUserDialogs::OpenFile(const QString& filter, const QString& defaultSuffix) {
    fileDialogsShown.push_back({filter, QString(), defaultSuffix});
    if (openAnswers.empty()) return {};
    const QString path = openAnswers.front();
    openAnswers.pop_front();
    return path;
}

QStringList ScriptedUserDialogs::OpenFiles(const QString& filter) {
    fileDialogsShown.push_back({filter, QString(), QString()});
    if (openFilesAnswers.empty()) return {};
    const QStringList paths = openFilesAnswers.front();
    openFilesAnswers.pop_front();
    return paths;
}

UserDialogs::SaveChoice ScriptedUserDialogs::SaveFile(const QString& filter,
                                                      const QString& initialName,
                                                      const QString& defaultSuffix) {
    fileDialogsShown.push_back({filter, initialName, defaultSuffix});
    if (saveAnswers.empty()) return {};
    const SaveChoice choice = saveAnswers.front();
    saveAnswers.pop_front();
    return choice;
}

std::optional<QColor> ScriptedUserDialogs::ChooseColour() {
    ++coloursAsked;
    if (colourAnswers.empty()) return std::nullopt;
    const std::optional<QColor> colour = colourAnswers.front();
    colourAnswers.pop_front();
    return colour;
}

int ScriptedUserDialogs::ShowModal(QDialog& dialog) {
    ++modalsShown;
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (!modalSteps.empty()) {
        const auto step = std::move(modalSteps.front());
        modalSteps.pop_front();
        step(dialog);
    }
    if (dialog.isVisible()) dialog.reject();
    return dialog.result();
}

}  // namespace vorlix
