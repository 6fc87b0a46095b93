#pragma once

#include <QDialog>

#include "settings/settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vorlix {

// The settings dialog: the model settings of the current model and
// firmware version, and the program settings that have no control in the
// main window. It fills its controls from the settings whenever it is
// shown and copies them back on OK; only its two reset buttons write to
// the store themselves. Whoever shows it saves both groups afterwards.
class TForm3 : public QDialog {
    Q_OBJECT
  public:
    TForm3(Settings& settings, Prompt& prompt, QWidget* parent = nullptr);

    // Fills the controls from the settings; runs every time it is shown.
    void FormShow();
    // OK: copies the controls into the settings, stopping at the first text
    // that does not convert (shown to the user); the fields before it keep
    // their new values.
    void Button1Click();
    // "По умолчанию": resets the program settings after a question.
    void SetDefaultClick();
    // "Сброс к общим настройкам": resets the model settings.
    void PublicSettingsClick();

    // The size of the open file (0: none), against which the placement
    // area is marked unchecked while it takes in the whole file.
    void SetFileSize(std::int64_t size) { fileSize_ = size; }

    int RadioGroup1ItemIndex() const;
    void SetRadioGroup1ItemIndex(int item);

    QGroupBox* GroupBox2;
    QLineEdit* FullFlashEdit;
    QLineEdit* ModelAndVersionEdit;
    // Which values the table of known models gave (those equal to the
    // table's for the model shown); hidden for a model the table lacks.
    QLabel* TableNote;
    QGroupBox* GroupBox1;
    QLineEdit* PITAdrMinEdit;
    QLineEdit* PITAdrMaxEdit;
    QLineEdit* PictureAdrMinEdit;
    QLineEdit* PictureAdrMaxEdit;
    QLineEdit* PlaceAdrMinEdit;
    QLineEdit* PlaceAdrMaxEdit;
    // "не проверено" beside an area that takes in the whole file.
    QLabel* PlaceAreaNote;
    QLineEdit* MaxSizeXEdit;
    QLineEdit* MaxSizeYEdit;
    QGroupBox* GroupBox3;
    QLineEdit* sPITAdrEdit;
    QLineEdit* ExtPITAdrEdit;
    QGroupBox* RadioGroup1;
    QButtonGroup* RadioGroup1Items;
    QPushButton* PublicSettings;
    QGroupBox* GroupBox4;
    QLineEdit* PatchMaxLengthEdit;
    QCheckBox* PlainPatchBox;
    QLineEdit* AuthorName;
    QCheckBox* KeepDepthAndCompressionBox;
    QCheckBox* AskSizeChangeBox;
    // "Исходный" or English; the programs take it when they start.
    QComboBox* LanguageBox;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* SetDefault;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ShowTableValues();
    void ShowPlaceAreaNote();

    Settings& settings_;
    Prompt& prompt_;
    std::int64_t fileSize_ = 0;
};

}  // namespace vorlix
