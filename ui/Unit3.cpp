#include "ui/Unit3.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/known_models.h"
#include "session/placement_area.h"

namespace vorlix {

namespace {

QString ResetCaption() { return TForm3::tr("Подтверждение сброса настроек"); }

QLineEdit* MakeEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    // Wide enough for an eight-digit hexadecimal value in any font.
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("FFFFFFFF")) + 14);
    return edit;
}

// A text edit that takes the room its row offers.
void LetGrow(QLineEdit* edit) {
    edit->setMinimumWidth(0);
    edit->setMaximumWidth(QWIDGETSIZE_MAX);
}

QLabel* MakeLabel(const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption, buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

}  // namespace

TForm3::TForm3(Settings& settings, Prompt& prompt, QWidget* parent)
    : QDialog(parent), settings_(settings), prompt_(prompt) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(tr("Настройки"));

    // Model settings.
    GroupBox2 = new QGroupBox(tr("Настройки модели телефона"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    FullFlashEdit = MakeEdit(GroupBox2, "FullFlashEdit");
    ModelAndVersionEdit = MakeEdit(GroupBox2, "ModelAndVersionEdit");
    ModelAndVersionEdit->setReadOnly(true);
    LetGrow(ModelAndVersionEdit);

    GroupBox1 = new QGroupBox(tr("Поиск по PIT-структурам"), GroupBox2);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    PITAdrMinEdit = MakeEdit(GroupBox1, "PITAdrMinEdit");
    PITAdrMaxEdit = MakeEdit(GroupBox1, "PITAdrMaxEdit");
    PictureAdrMinEdit = MakeEdit(GroupBox1, "PictureAdrMinEdit");
    PictureAdrMaxEdit = MakeEdit(GroupBox1, "PictureAdrMaxEdit");
    PlaceAdrMinEdit = MakeEdit(GroupBox1, "PlaceAdrMinEdit");
    PlaceAdrMaxEdit = MakeEdit(GroupBox1, "PlaceAdrMaxEdit");
    MaxSizeXEdit = MakeEdit(GroupBox1, "MaxSizeXEdit");
    MaxSizeYEdit = MakeEdit(GroupBox1, "MaxSizeYEdit");
    auto* pitGrid = new QGridLayout(GroupBox1);
    const struct {
        const char* from;
        QLineEdit* min;
        const char* to;
        QLineEdit* max;
    } ranges[] = {
        {QT_TR_NOOP("Искать с адреса"), PITAdrMinEdit, QT_TR_NOOP("по"), PITAdrMaxEdit},
        {QT_TR_NOOP("Адреса картинок с"), PictureAdrMinEdit, QT_TR_NOOP("по"), PictureAdrMaxEdit},
        {QT_TR_NOOP("Размещать патчи с"), PlaceAdrMinEdit, QT_TR_NOOP("по"), PlaceAdrMaxEdit},
        {QT_TR_NOOP("Размер по X макс."), MaxSizeXEdit, QT_TR_NOOP("по Y"), MaxSizeYEdit},
    };
    int row = 0;
    for (const auto& r : ranges) {
        pitGrid->addWidget(MakeLabel(tr(r.from), r.min), row, 0);
        pitGrid->addWidget(r.min, row, 1);
        pitGrid->addWidget(MakeLabel(tr(r.to), r.max), row, 2);
        pitGrid->addWidget(r.max, row, 3);
        ++row;
    }
    // The dialog's size is fixed from the start: the note keeps its room
    // while hidden.
    PlaceAreaNote = new QLabel(tr("Не проверено: область — весь файл"), GroupBox1);
    PlaceAreaNote->setObjectName(QStringLiteral("PlaceAreaNote"));
    PlaceAreaNote->setToolTip(
        tr("Область размещения охватывает весь файл: такие значения "
           "получает прошивка, открытая впервые. Укажите свободное место "
           "прошивки."));
    QSizePolicy keepRoom = PlaceAreaNote->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    PlaceAreaNote->setSizePolicy(keepRoom);
    pitGrid->addWidget(PlaceAreaNote, row, 0, 1, 4);
    for (QLineEdit* edit : {PlaceAdrMinEdit, PlaceAdrMaxEdit})
        connect(edit, &QLineEdit::textChanged, this, &TForm3::ShowPlaceAreaNote);

    GroupBox3 = new QGroupBox(tr("Поиск по таблицам"), GroupBox2);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    sPITAdrEdit = MakeEdit(GroupBox3, "sPITAdrEdit");
    ExtPITAdrEdit = MakeEdit(GroupBox3, "ExtPITAdrEdit");
    RadioGroup1 = new QGroupBox(tr("Режим поиска картинок"), GroupBox3);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1Items = new QButtonGroup(RadioGroup1);
    auto* modes = new QVBoxLayout(RadioGroup1);
    const QString modeCaptions[] = {tr("по таблицам"), tr("по PIT-записям")};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QRadioButton(modeCaptions[i], RadioGroup1);
        RadioGroup1Items->addButton(button, i);
        modes->addWidget(button);
    }
    auto* tableGrid = new QGridLayout(GroupBox3);
    tableGrid->addWidget(MakeLabel(tr("Адрес sPIT-структуры"), sPITAdrEdit), 0, 0);
    tableGrid->addWidget(sPITAdrEdit, 0, 1);
    tableGrid->addWidget(MakeLabel(tr("Адрес начала ExtPIT"), ExtPITAdrEdit), 1, 0);
    tableGrid->addWidget(ExtPITAdrEdit, 1, 1);
    tableGrid->addWidget(RadioGroup1, 2, 0, 1, 2);

    PublicSettings = new QPushButton(tr("Сброс к общим настройкам"), GroupBox2);
    PublicSettings->setObjectName(QStringLiteral("PublicSettings"));
    PublicSettings->setToolTip(tr("Сбросить настройки для данной модели телефона"));
    PublicSettings->setAutoDefault(false);

    auto* modelGrid = new QGridLayout(GroupBox2);
    modelGrid->addWidget(MakeLabel(tr("Начало FullFlash"), FullFlashEdit), 0, 0);
    modelGrid->addWidget(FullFlashEdit, 0, 1, Qt::AlignLeft);
    modelGrid->addWidget(MakeLabel(tr("Модель телефона и версия прошивки"), ModelAndVersionEdit), 1,
                         0);
    modelGrid->addWidget(ModelAndVersionEdit, 1, 1, 1, 3);
    // Beside the reset button, where it widens nothing.
    TableNote = new QLabel(GroupBox2);
    TableNote->setObjectName(QStringLiteral("TableNote"));
    TableNote->setWordWrap(true);
    modelGrid->addWidget(TableNote, 3, 0, 1, 2);
    modelGrid->addWidget(GroupBox1, 2, 0, 1, 2);
    modelGrid->addWidget(GroupBox3, 2, 2, 1, 2);
    modelGrid->addWidget(PublicSettings, 3, 2, 1, 2, Qt::AlignRight);

    // Program settings.
    GroupBox4 = new QGroupBox(tr("Настройки программы"), this);
    GroupBox4->setObjectName(QStringLiteral("GroupBox4"));
    PatchMaxLengthEdit = MakeEdit(GroupBox4, "PatchMaxLengthEdit");
    PlainPatchBox = new QCheckBox(tr("не разделять PIT и данные"), GroupBox4);
    PlainPatchBox->setObjectName(QStringLiteral("PlainPatchBox"));
    AuthorName = MakeEdit(GroupBox4, "AuthorName");
    LetGrow(AuthorName);
    KeepDepthAndCompressionBox =
        new QCheckBox(tr("Загруженная картинка сохраняет глубину и сжатие"), GroupBox4);
    KeepDepthAndCompressionBox->setObjectName(QStringLiteral("KeepDepthAndCompressionBox"));
    KeepDepthAndCompressionBox->setToolTip(
        tr("Иначе картинка из файла становится 16-битной сжатой (монохромная — 1-битной)"));
    AskSizeChangeBox =
        new QCheckBox(tr("Спрашивать, если размер заменяемой картинки меняется"), GroupBox4);
    AskSizeChangeBox->setObjectName(QStringLiteral("AskSizeChangeBox"));
    AskSizeChangeBox->setToolTip(
        tr("Картинку больше наибольшего размера программа не заменяет, не спросив"));
    auto* programGrid = new QGridLayout(GroupBox4);
    programGrid->addWidget(MakeLabel(tr("Длина строки патча"), PatchMaxLengthEdit), 0, 0);
    programGrid->addWidget(PatchMaxLengthEdit, 0, 1);
    programGrid->addWidget(PlainPatchBox, 0, 2);
    programGrid->addWidget(MakeLabel(tr("Имя автора патча"), AuthorName), 1, 0);
    programGrid->addWidget(AuthorName, 1, 1, 1, 2);
    programGrid->addWidget(KeepDepthAndCompressionBox, 2, 0, 1, 3);
    programGrid->addWidget(AskSizeChangeBox, 3, 0, 1, 3);
    // The original texts, or English, named in English whatever the
    // language in force. The translators are installed before the first
    // window is made, so a choice takes effect at the next start.
    LanguageBox = new QComboBox(GroupBox4);
    LanguageBox->setObjectName(QStringLiteral("LanguageBox"));
    LanguageBox->addItem(tr("Исходный"), LanguageText(UiLanguage::Original));
    LanguageBox->addItem(QStringLiteral("English"), LanguageText(UiLanguage::English));
    LanguageBox->setToolTip(
        tr("Язык надписей и сообщений: «Исходный» — тексты программы такими, как они написаны "
           "(сообщения по-русски, часть надписей по-чешски), или английский"));
    auto* languageNote = new QLabel(tr("(со следующего запуска)"), GroupBox4);
    programGrid->addWidget(MakeLabel(tr("Язык интерфейса"), LanguageBox), 4, 0);
    programGrid->addWidget(LanguageBox, 4, 1);
    programGrid->addWidget(languageNote, 4, 2);

    Button1 = new QPushButton(tr("ОК"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(tr("Отмена"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    SetDefault = new QPushButton(tr("По умолчанию"), this);
    SetDefault->setObjectName(QStringLiteral("SetDefault"));
    SetDefault->setToolTip(tr("Сбросить настройки программы"));
    SetDefault->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SetDefault);
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox2);
    layout->addWidget(GroupBox4);
    layout->addStretch();
    layout->addLayout(buttons);

    // The designed client area is 551 x 399; a platform whose fonts need
    // more room gets a dialog just large enough to show every field whole.
    setFixedSize(layout->sizeHint().expandedTo(QSize(551, 399)));

    // Each closing button closes with its result whatever its handler met:
    // an OK that stopped at a bad text still closes with OK.
    connect(Button1, &QPushButton::clicked, this, [this] {
        Button1Click();
        accept();
    });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(SetDefault, &QPushButton::clicked, this, [this] {
        SetDefaultClick();
        accept();
    });
    connect(PublicSettings, &QPushButton::clicked, this, &TForm3::PublicSettingsClick);
}

void TForm3::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

int TForm3::RadioGroup1ItemIndex() const { return RadioGroup1Items->checkedId(); }

void TForm3::SetRadioGroup1ItemIndex(int item) {
    if (QAbstractButton* button = RadioGroup1Items->button(item)) button->setChecked(true);
}

// Marks the values that equal those of the table of known models for the
// model shown: they came from there at its first open, or agree with it.
void TForm3::ShowTableValues() {
    const Settings& s = settings_;
    const KnownModel* known = KnownModelOf(s.ModelAndVersion);
    const struct {
        QLineEdit* edit;
        const char* name;
        bool fromTable;
    } values[] = {
        {FullFlashEdit, "FullFlash", known && s.FullFlash == known->fullFlash},
        {MaxSizeXEdit, "MaxSizeX", known && s.MaxSizeX == known->maxSizeX},
        {MaxSizeYEdit, "MaxSizeY", known && s.MaxSizeY == known->maxSizeY},
    };
    QStringList names;
    for (const auto& v : values) {
        v.edit->setToolTip(v.fromTable ? tr("Из таблицы известных моделей") : QString());
        if (v.fromTable) names << QLatin1String(v.name);
    }
    TableNote->setText(
        names.isEmpty() ? QString()
                        : tr("Из таблицы известных моделей (%1): %2")
                              .arg(QLatin1String(known->name), names.join(QStringLiteral(", "))));
    TableNote->setVisible(!names.isEmpty());
}

void TForm3::FormShow() {
    Settings& s = settings_;
    ModelAndVersionEdit->setText(s.ModelAndVersion);
    FullFlashEdit->setText(Hex6(s.FullFlash));
    PITAdrMinEdit->setText(Hex6(s.PITAdrMin));
    PITAdrMaxEdit->setText(Hex6(s.PITAdrMax));
    PictureAdrMinEdit->setText(Hex6(s.PictureAdrMin));
    PictureAdrMaxEdit->setText(Hex6(s.PictureAdrMax));
    PlaceAdrMinEdit->setText(Hex6(s.PlaceAdrMin));
    PlaceAdrMaxEdit->setText(Hex6(s.PlaceAdrMax));
    MaxSizeXEdit->setText(QString::number(s.MaxSizeX));
    MaxSizeYEdit->setText(QString::number(s.MaxSizeY));
    ShowTableValues();
    PatchMaxLengthEdit->setText(QString::number(s.PatchMaxLength));
    PlainPatchBox->setChecked(s.PlainPatch);
    AuthorName->setText(s.AuthorName);
    KeepDepthAndCompressionBox->setChecked(s.KeepDepthAndCompression);
    AskSizeChangeBox->setChecked(s.AskSizeChange);
    LanguageBox->setCurrentIndex(LanguageBox->findData(
        LanguageText(LanguageFromText(s.Language).value_or(UiLanguage::Original))));
    sPITAdrEdit->setText(Hex6(s.sPITAdr));
    ExtPITAdrEdit->setText(Hex6(s.ExtPITAdr));
    // Without an sPIT structure the tables cannot be walked.
    if (s.sPITAdr < 0) s.SearchType = true;
    SetRadioGroup1ItemIndex(s.SearchType ? 1 : 0);
    ShowPlaceAreaNote();
}

void TForm3::ShowPlaceAreaNote() {
    // The area as typed; a text that does not convert leaves the mark off.
    const std::optional<std::int32_t> min =
        ParseIntText(QStringLiteral("0x") + PlaceAdrMinEdit->text());
    const std::optional<std::int32_t> max =
        ParseIntText(QStringLiteral("0x") + PlaceAdrMaxEdit->text());
    PlaceAreaNote->setVisible(min && max && PlacementAreaUnchecked(*min, *max, fileSize_));
}

void TForm3::Button1Click() {
    Settings& s = settings_;
    const auto convert = [this](const QString& text, std::int32_t& field) {
        std::int32_t value = 0;
        const Status status = ConvertInt(text, value);
        if (!status.ok()) {
            prompt_.Error(status.message());
            return false;
        }
        field = value;
        return true;
    };
    const auto hex = [&](QLineEdit* edit, std::int32_t& field) {
        return convert(QStringLiteral("0x") + edit->text(), field);
    };
    const auto dec = [&](QLineEdit* edit, std::int32_t& field) {
        return convert(edit->text(), field);
    };

    if (!hex(FullFlashEdit, s.FullFlash) || !hex(PITAdrMinEdit, s.PITAdrMin) ||
        !hex(PITAdrMaxEdit, s.PITAdrMax) || !hex(PictureAdrMinEdit, s.PictureAdrMin) ||
        !hex(PictureAdrMaxEdit, s.PictureAdrMax) || !hex(PlaceAdrMinEdit, s.PlaceAdrMin) ||
        !hex(PlaceAdrMaxEdit, s.PlaceAdrMax))
        return;
    if (!dec(MaxSizeXEdit, s.MaxSizeX) || !dec(MaxSizeYEdit, s.MaxSizeY) ||
        !dec(PatchMaxLengthEdit, s.PatchMaxLength))
        return;
    s.PlainPatch = PlainPatchBox->isChecked();
    s.AuthorName = AuthorName->text();
    s.KeepDepthAndCompression = KeepDepthAndCompressionBox->isChecked();
    s.AskSizeChange = AskSizeChangeBox->isChecked();
    s.Language = LanguageBox->currentData().toString();
    if (!hex(sPITAdrEdit, s.sPITAdr) || !hex(ExtPITAdrEdit, s.ExtPITAdr)) return;
    s.SearchType = RadioGroup1ItemIndex() > 0;
}

void TForm3::SetDefaultClick() {
    if (prompt_.Ask(ResetCaption(), tr("Сбросить настройки в значения по умолчанию?"),
                    Buttons::YesNo) != Answer::Yes)
        return;
    // A value that does not convert or that the store refuses is shown.
    Status reset = settings_.ResetProgramSettings();
    if (reset.ok()) reset = settings_.LoadProgramSettings(prompt_);
    if (!reset.ok()) {
        prompt_.Error(reset.message());
        return;
    }
    FormShow();
}

void TForm3::PublicSettingsClick() {
    Settings& s = settings_;
    if (s.ModelAndVersion == Settings::kGeneralKey) {
        if (prompt_.Ask(ResetCaption(), tr("Сбросить настройки в значения по умолчанию для C55?"),
                        Buttons::YesNo) != Answer::Yes)
            return;
        Status reset = s.ResetModelSettings();
        if (reset.ok()) reset = s.LoadModelSettings();
        if (!reset.ok()) {
            prompt_.Error(reset.message());
            return;
        }
    } else {
        const QString model = s.ModelAndVersion;
        s.ModelAndVersion = Settings::kGeneralKey;
        Status loaded = s.LoadModelSettings();
        s.ModelAndVersion = model;
        if (loaded.ok()) loaded = s.SaveModelSettings();
        if (!loaded.ok()) {
            prompt_.Error(loaded.message());
            return;
        }
    }
    FormShow();
}

}  // namespace vorlix
