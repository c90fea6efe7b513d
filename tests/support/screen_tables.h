// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the learner sees of the window: every control with its caption and its place in twips, and
// the controls each screen shows. The widget tests check the window against these tables, and the
// real-display journeys click at the places of the first (x_helpers.sh reads its rows from this
// file: keep each row on a line of its own).

#include <QSet>
#include <QString>

#include <initializer_list>

struct ControlRow {
    const char *name;
    const char *caption;
    int left, top, width, height;
};

// Every control of the window, by object name, in the order of the window's controls.
inline constexpr ControlRow kControls[] = {
    {"Command2", "EXIT", 9120, 0, 735, 375},
    {"Command6", "Névjegy", 9120, 360, 735, 375},
    {"Combo1", "Válaszd ki a Neved!", 3240, 720, 2175, 315},
    {"Command4", "Új Név Felvétele", 5520, 720, 2055, 375},
    {"Text11", "Text11", 3240, 1320, 2055, 405},
    {"Command5", "Belépés", 3840, 1080, 975, 495},
    {"Vissza_Com6", "Vissza", 5520, 720, 975, 495},
    {"Eredméynek_Com", "Eredmények Megtekintése", 1560, 720, 1455, 495},
    {"Label12", "Neved:", 5520, 600, 855, 255},
    {"Label11", "Label11", 5520, 840, 2055, 375},
    {"Név_vált_Com", "Név Váltás", 5520, 1320, 2055, 495},
    {"Text12", "", 120, 1440, 9735, 6495},
    {"Eredm_Kilép_Com", "Vissza", 1800, 720, 1215, 495},
    {"Új_Com1", "Új Szójegyzék Készítése", 7680, 840, 2175, 615},
    {"Szerkeszt_Comm", "Szójegyzék szerkesztése", 7680, 1560, 2175, 495},
    {"Gyak_be_Com2", "Szójegyzék betöltése", 7680, 2160, 2175, 495},
    {"MSFlexGrid1", "", 120, 2760, 9615, 5175},
    {"Label1", "Angol", 360, 600, 495, 255},
    {"Text1", "", 960, 600, 2535, 285},
    {"Label2", "Magyar", 240, 1080, 615, 255},
    {"Text2", "", 960, 1080, 2535, 285},
    {"Label8", "Megjegyzés", 0, 1560, 855, 255},
    {"Text6", "", 960, 1560, 3855, 285},
    {"Frame1", "", 3720, 360, 1695, 975},
    {"Label10", "Beviteli sorrend", 120, 120, 1455, 255},
    {"Option4", "Angol - Magyar", 120, 360, 1455, 255},
    {"Option5", "Magyar - Angol", 120, 720, 1455, 195},
    {"Command3", "Szópár felvétele", 3960, 2160, 1695, 495},
    {"Vissza_Com4", "Utolsó sor törlése", 2880, 2160, 975, 495},
    {"Command1", "Bevitel Mentése és Befejezése", 360, 2160, 2055, 495},
    {"Szerk_kész_Comm", "Mentés és Vissza", 6240, 2160, 2175, 495},
    {"Text3", "Text3", 4680, 5640, 1095, 285},
    {"Vissza_no_mentComm", "Mégse", 6240, 1440, 2175, 495},
    {"Label3", "A szójegyzék neve:", 120, 120, 2055, 255},
    {"Label4", "", 2160, 120, 6975, 375},
    {"Option1", "Angol-Magyar", 240, 2040, 1455, 195},
    {"Option2", "Magyar-Angol", 240, 2280, 1335, 195},
    {"Option3", "Vegyes felhozás", 240, 2520, 1575, 195},
    {"Tanul_Com4", "Tanulás indítása", 2040, 2160, 2175, 495},
    {"Label5", "Angol", 480, 2880, 735, 375},
    {"Text4", "", 1320, 2760, 7815, 420},
    {"Label6", "Magyar", 360, 3600, 975, 375},
    {"Text5", "", 1320, 3480, 7815, 420},
    {"Label7", "Üzenetek:", 360, 5040, 855, 255},
    {"Text9", "", 1320, 4920, 7815, 375},
    {"Label9", "Megjegyzés:", 120, 4320, 1095, 375},
    {"Text10", "", 1320, 4200, 7815, 375},
    {"Text7", "Rossz válasz:", 960, 5880, 2775, 375},
    {"Text8", "Megmutat:", 960, 6480, 2775, 375},
    {"Mehet_Comm", "Mehet", 240, 2160, 1335, 495},
    {"Megmutat_Comm", "Megmutatja", 3960, 6480, 1455, 375},
    {"Tanul_Vissza_Comm", "Vissza", 960, 7080, 1455, 495},
};

// The visible set of a screen: the controls named, plus "Névjegy" and, unless left out, "EXIT".
enum class Exit { Shown, Hidden };
inline QSet<QString> screen(std::initializer_list<const char *> controls, Exit exit = Exit::Shown)
{
    QSet<QString> expected{QStringLiteral("Command6")};
    if (exit == Exit::Shown)
        expected.insert(QStringLiteral("Command2"));
    for (const char *name : controls)
        expected.insert(QString::fromUtf8(name));
    return expected;
}

inline const QSet<QString> kUserSelection = screen({"Combo1", "Command4"});
// A name just added: only the name box is left.
inline const QSet<QString> kNameAdded = screen({"Combo1"});
inline const QSet<QString> kNewNameEntry = screen({"Combo1", "Text11", "Vissza_Com6"});
inline const QSet<QString> kNamePicked = screen({"Combo1", "Command5", "Vissza_Com6", "Eredméynek_Com"});
inline const QSet<QString> kResults = screen({"Text12", "Eredm_Kilép_Com"});
inline const QSet<QString> kMainMenu =
    screen({"Label12", "Label11", "Új_Com1", "Szerkeszt_Comm", "Gyak_be_Com2", "Név_vált_Com"});
inline const QSet<QString> kListBuilding =
    screen({"Label12", "Label11", "MSFlexGrid1", "Frame1", "Label10", "Option4", "Option5", "Label1", "Text1", "Label2",
            "Text2", "Label8", "Text6", "Command3", "Vissza_Com4", "Command1", "Vissza_no_mentComm"});
inline const QSet<QString> kListEditing =
    screen({"Label12", "Label11", "MSFlexGrid1", "Frame1", "Label10", "Option4", "Option5", "Label1", "Text1", "Label2",
            "Text2", "Label8", "Text6", "Command3", "Vissza_Com4", "Szerk_kész_Comm", "Vissza_no_mentComm", "Label3",
            "Label4"});
inline const QSet<QString> kPracticeSetup = screen({"Label12", "Label11", "Label3", "Label4", "MSFlexGrid1", "Option1",
                                                    "Option2", "Option3", "Tanul_Com4", "Vissza_no_mentComm"});
inline const QSet<QString> kPractice =
    screen({"Label12", "Label11", "Label3", "Label4", "Label5", "Label6", "Text4", "Text5", "Text7", "Text8", "Text9",
            "Text10", "Label7", "Label9", "Mehet_Comm", "Megmutat_Comm", "Tanul_Vissza_Comm"},
           Exit::Hidden);
