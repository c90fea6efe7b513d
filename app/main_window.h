// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <optional>

enum class FailureCode : int;
enum class PracticeDirection;
struct PracticeView;
class PracticeRun;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class ResultsLogView;
class QPushButton;
class QRadioButton;
class WordGrid;
class Announcer;

namespace platform {
class Clock;
class Dialogs;
class RandomSource;
} // namespace platform

// The program's one window. It owns every control and the state its handlers share; the
// handlers of each screen are defined in a file of that subsystem's folder named for the screen,
// `…_handlers.cpp`, named at each group below.
class Form1 final : public QWidget {
public:
    // The random numbers draw the practice runs; the clock dates their records.
    Form1(QString startDirectory, platform::Dialogs &dialogs, platform::RandomSource &random,
          const platform::Clock &clock, QWidget *parent = nullptr);
    ~Form1() override;

    // Start-up (app/startup_handlers.cpp). False when the program cannot go on (the message has been
    // shown).
    bool Form_Load();

    // The main menu (app/screens.cpp), EXIT and about (app/window_handlers.cpp).
    void ResetToMainMenu();
    void Command2_Click();
    void Command6_Click();

    // Learners and sign-in (users/sign_in_handlers.cpp).
    bool LoadUserNames();
    void Combo1_Click();
    void Command4_Click();
    void Text11_KeyPress(int keyAscii);
    void Command5_Click();
    void Név_vált_Com_Click();
    void Vissza_Com6_Click();

    // The word list in the grid: loading, writing, its name, leaving without saving
    // (wordlist/word_list_handlers.cpp).
    void OpenWordList();
    // Nothing when written; otherwise why not.
    std::optional<FailureCode> WriteWordListRecords(const QString &path);
    // Both saves end here: written, back to the main menu; or told why not, and the list stays.
    void writeListAndFinish(const QString &path);
    void ShowListName();
    void ClearGrid();
    void Vissza_no_mentComm_Click();

    // Building a new list (wordlist/build_list_handlers.cpp).
    void Új_Com1_Click();
    void Command3_Click();
    void Vissza_Com4_Click();
    void Text1_KeyPress(int keyAscii);
    void Text2_KeyPress(int keyAscii);
    void Text6_KeyPress(int keyAscii);
    void Option4_Click();
    void Option5_Click();
    void Command1_Click();

    // Editing a list, and the in-place cell editor of both list screens (wordlist/edit_list_handlers.cpp).
    void Szerkeszt_Comm_Click();
    void MSFlexGrid1_DblClick();
    void MSFlexGrid1_Click();
    void MSFlexGrid1_EditKey();
    void Text3_KeyPress(int keyAscii);
    void Szerk_kész_Comm_Click();

    // What can be typed into the cell editor; a longer cell is still shown whole.
    static constexpr int kCellEditorTypingLimit = 40;

    // Practice: loading a list for it, the run, showing the answer, leaving and recording
    // (practice/practice_handlers.cpp).
    void Gyak_be_Com2_Click();
    void Tanul_Com4_Click();
    void Mehet_Comm_Click();
    void Text4_KeyPress(int keyAscii);
    void Text5_KeyPress(int keyAscii);
    void Megmutat_Comm_Click();
    void Tanul_Vissza_Comm_Click();
    void AppendResultsRecord();

    // The results viewer (results/results_handlers.cpp).
    void Eredméynek_Com_Click();
    void Eredm_Kilép_Com_Click();

    // The run being practised, or the last one; nothing before the first.
    const PracticeRun *practiceRun() const { return m_run.get(); }

    // Window-level state shared by the handlers.
    const QString startDirectory;
    QString currentUser;
    QString fieldSeparator;
    int pairCount = 0;
    QString wordListPath;
    QString listName;
    int editRow = 0;
    int editCol = 0;
    bool allWordsSolved = false;
    bool gridEditable = false;
    bool cellEditOpen = false;
    bool loadFailed = false;
    bool answerSubmitted = false;
    bool leaveRequested = false;

private:
    void createControls();
    void nameControlsForScreenReaders();
    void nameCellEditor();
    QString currentQuestion() const;
    void describeQuestionOnAnswerBox();
    void tellScreenReaderOfPracticeStep(const PracticeView &view, const QWidget *focusBefore);
    void applyFonts();
    void applyColours();
    void connectHandlers();
    void appendUserNames(const QStringList &names);
    void focusFirstWordBox();
    bool cellEditorCanWriteBack() const;
    void writeCellEditorBack();
    void closeCellEditor();
    PracticeDirection selectedDirection() const;
    void checkSubmittedAnswer();
    void showPracticeView(const PracticeView &view);

    platform::Dialogs &m_dialogs;
    platform::RandomSource &m_random;
    const platform::Clock &m_clock;
    std::unique_ptr<PracticeRun> m_run;
    Announcer *m_announcer;

    // User selection and sign-in.
    QPushButton *Command2;
    QPushButton *Command6;
    QComboBox *Combo1;
    QPushButton *Command4;
    QLineEdit *Text11;
    QPushButton *Command5;
    QPushButton *Vissza_Com6;
    QPushButton *Eredméynek_Com;
    QLabel *Label12;
    QLabel *Label11;
    QPushButton *Név_vált_Com;
    ResultsLogView *Text12;
    QPushButton *Eredm_Kilép_Com;

    // Main menu and the word-list screens.
    QPushButton *Új_Com1;
    QPushButton *Szerkeszt_Comm;
    QPushButton *Gyak_be_Com2;
    WordGrid *MSFlexGrid1;
    QLabel *Label1;
    QLineEdit *Text1;
    QLabel *Label2;
    QLineEdit *Text2;
    QLabel *Label8;
    QLineEdit *Text6;
    QGroupBox *Frame1;
    QLabel *Label10;
    QRadioButton *Option4;
    QRadioButton *Option5;
    QButtonGroup *entryOrderGroup;
    QPushButton *Command3;
    QPushButton *Vissza_Com4;
    QPushButton *Command1;
    QPushButton *Szerk_kész_Comm;
    QLineEdit *Text3;
    QPushButton *Vissza_no_mentComm;
    QLabel *Label3;
    QLabel *Label4;

    // Practice.
    QRadioButton *Option1;
    QRadioButton *Option2;
    QRadioButton *Option3;
    QButtonGroup *directionGroup;
    QPushButton *Tanul_Com4;
    QLabel *Label5;
    QLineEdit *Text4;
    QLabel *Label6;
    QLineEdit *Text5;
    QLabel *Label7;
    QLineEdit *Text9;
    QLabel *Label9;
    QLineEdit *Text10;
    QLineEdit *Text7;
    QLineEdit *Text8;
    QPushButton *Mehet_Comm;
    QPushButton *Megmutat_Comm;
    QPushButton *Tanul_Vissza_Comm;
};
