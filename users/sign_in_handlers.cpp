// SPDX-License-Identifier: GPL-3.0-or-later
// Learners: the names at start-up, adding a learner, picking one, signing in and changing learner.
#include "app/main_window.h"

#include "app/screens.h"
#include "app/window_texts.h"
#include "failures/failure_codes.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/key_press.h"
#include "platform/path_state.h"
#include "users/add_user.h"
#include "users/user_registry.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>

namespace {

const QString kNameTaken = QStringLiteral("A megadott név már létezik, Válassz másikat!");

QString registryFailure(const QString &registryPath)
{
    // A network share that does not answer for a moment is not a missing file.
    const platform::PathState state = platform::pathState(registryPath);
    if (state == platform::PathState::Unreachable)
        return QStringLiteral("A felhasználók listája most nem érhető el: %1\r\nPróbáld újra egy kis idő múlva!\r\n"
                              "A program kilép.")
            .arg(registryPath);
    if (state == platform::PathState::Missing)
        return QStringLiteral("A felhasználók listája nem található: %1\r\nA program kilép.").arg(registryPath);
    // In a class folder: the account is not in the class's group (or not yet logged in again since).
    if (state == platform::PathState::NotPermitted)
        return QStringLiteral("A felhasználók listája nem olvasható, mert nincs hozzá jogod: %1\r\nA fiókod nincs "
                              "benne az osztály csoportjában (vagy a felvétele óta még nem jelentkeztél be újra). "
                              "Szólj a tanárnak!\r\nA program kilép.")
            .arg(registryPath);
    return QStringLiteral("A felhasználók listája nem olvasható: %1\r\nA program kilép.").arg(registryPath);
}

} // namespace

bool Form1::LoadUserNames()
{
    const std::optional<QStringList> names = readRegistryNames(startDirectory);
    if (!names) {
        m_dialogs.message(registryFailure(registryPath(startDirectory)));
        return false;
    }
    appendUserNames(*names);
    return true;
}

// Adds names at the end of Combo1's list without changing what its edit field shows
// (Qt would otherwise show the first entry put into an empty list).
void Form1::appendUserNames(const QStringList &names)
{
    const QString shown = Combo1->currentText();
    const int current = Combo1->currentIndex();
    // The registry's names fill the empty list in one step: added one by one, ten thousand of them
    // would hold up the window's first appearance. A learner added later is one row more.
    auto *model = qobject_cast<QStringListModel *>(Combo1->model());
    if (model && Combo1->count() == 0)
        model->setStringList(names);
    else
        Combo1->addItems(names);
    Combo1->setCurrentIndex(current);
    Combo1->setEditText(shown);
}

void Form1::Combo1_Click()
{
    // A pick closes the new-name box: a name typed there must not become the learner behind the pick.
    hideControls({Text11});
    showControls({Command5});
    hideControls({Command4});
    showControls({Vissza_Com6});
    currentUser = Combo1->currentText();
    showControls({Eredméynek_Com});
}

// "Új Név Felvétele"
void Form1::Command4_Click()
{
    showControls({Text11});
    Text11->setFocus();
    Text11->clear();
    hideControls({Command4});
    showControls({Vissza_Com6});
}

void Form1::Text11_KeyPress(int keyAscii)
{
    if (keyAscii != platform::kEnterKey || Text11->text().isEmpty())
        return;
    hideControls({Vissza_Com6, Command4, Text11});
    currentUser = Text11->text();
    const AddUserOutcome outcome = addUser(startDirectory, currentUser);
    if (outcome != AddUserOutcome::Added) {
        // Only a taken or refused name is the learner's to mend; anything else is the disk's.
        const FailureCode code = outcome == AddUserOutcome::LinkRefused          ? FailureCode::LinkRefused
                                 : outcome == AddUserOutcome::LockNotTheTeachers ? FailureCode::LockNotTheTeachers
                                                                                 : FailureCode::LearnerNotAdded;
        m_dialogs.message(outcome == AddUserOutcome::NameTaken ? kNameTaken : unknownFailureMessage(code));
        showControls({Command4});
        Command4->setFocus();
        return;
    }
    appendUserNames({Text11->text()});
}

// "Belépés"
void Form1::Command5_Click()
{
    hideControls({Command5});
    ResetToMainMenu();
    hideControls({Combo1, Eredméynek_Com, Vissza_Com6});
    Label11->setText(currentUser);
    showControls({Label11, Label12});
}

// "Név Váltás"
void Form1::Név_vált_Com_Click()
{
    hideControls({Név_vált_Com, Új_Com1, Szerkeszt_Comm, Gyak_be_Com2});
    showControls({Command4});
    hideControls({Vissza_Com6, Command5});
    Combo1->setEditText(kChooseYourName);
    showControls({Combo1});
    hideControls({Text11, Eredméynek_Com, Label11, Label12});
}

// "Vissza" on the user-selection screen
void Form1::Vissza_Com6_Click()
{
    showControls({Command4});
    hideControls({Vissza_Com6, Command5});
    Combo1->setEditText(kChooseYourName);
    hideControls({Text11, Eredméynek_Com});
}
