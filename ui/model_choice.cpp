#include "ui/model_choice.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

#include "settings/known_models.h"
#include "ui/user_dialogs.h"

namespace vorlix {

ModelChoiceDialog::ModelChoiceDialog(const QString& found, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ModelChoice"));
    setWindowTitle(kCaptionWarning);
    const QString why =
        found.isEmpty()
            ? tr("Прошивка не опознана: блок сведений о сборке не найден, модель и версия не "
                 "определены.")
            : tr("Настройки для данной модели и версии прошивки (%1) не найдены.").arg(found);
    auto* text = new QLabel(why + QLatin1Char('\n') +
                                tr("Если это дамп одной из этих моделей, выберите её: начало "
                                   "FullFlash и размеры картинок будут взяты из таблицы "
                                   "известных моделей."),
                            this);
    text->setWordWrap(true);

    ModelList = new QListWidget(this);
    ModelList->setObjectName(QStringLiteral("ModelList"));
    auto* none = new QListWidgetItem(found.isEmpty()
                                         ? tr("Ни одна из них (общие настройки)")
                                         : tr("Ни одна из них (будут загружены общие настройки)"),
                                     ModelList);
    none->setData(Qt::UserRole, QString());
    for (const QString& name : KnownModelNames()) {
        auto* item = new QListWidgetItem(name, ModelList);
        item->setData(Qt::UserRole, name);
    }
    ModelList->setCurrentRow(0);
    // Every row whole, in either language.
    ModelList->setMinimumWidth(ModelList->sizeHintForColumn(0) + 4 * ModelList->frameWidth() +
                               ModelList->style()->pixelMetric(QStyle::PM_ScrollBarExtent));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ModelList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(ModelList);
    layout->addWidget(buttons);
}

QString ModelChoiceDialog::chosenModel() const {
    const QListWidgetItem* item = ModelList->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

ModelChoice AskModelChoice(UserDialogs& dialogs, const QString& found, QWidget* parent) {
    ModelChoiceDialog dialog(found, parent);
    const bool accepted = dialogs.ShowModal(dialog) == QDialog::Accepted;
    return ModelChoice{true, accepted ? dialog.chosenModel() : QString()};
}

}  // namespace vorlix
