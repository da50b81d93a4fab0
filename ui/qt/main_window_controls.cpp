#include "ui/qt/main_window_controls.h"

#include "relay/relay_panel.h"
#include "ui/day_editor.h"
#include "ui/qt/colours.h"
#include "ui/qt/twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

namespace quorel {

namespace {

constexpr int kClientWidth = 7560;
constexpr int kClientHeight = 6900;

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

template <typename Widget> Widget* place(Widget* widget, const QString& name, QRect rect) {
    widget->setObjectName(name);
    widget->setGeometry(rect);
    return widget;
}

QLabel* label(QWidget* parent, const QString& name, const char* caption, QRect rect) {
    return place(new QLabel(text(caption), parent), name, rect);
}

QPushButton* button(QWidget* parent, const QString& name, const char* caption, QRect rect,
                    const char* toolTip = nullptr) {
    auto* b = place(new QPushButton(text(caption), parent), name, rect);
    if (toolTip != nullptr) {
        b->setToolTip(text(toolTip));
    }
    b->setAutoDefault(false);
    return b;
}

QLineEdit* field(QWidget* parent, const QString& name, QRect rect, const char* toolTip) {
    auto* f = place(new QLineEdit(parent), name, rect);
    if (toolTip != nullptr) {
        f->setToolTip(text(toolTip));
    }
    return f;
}

QFrame* colourBox(QWidget* parent, const QString& name, QRect rect, uint32_t colour) {
    auto* box = place(new QFrame(parent), name, rect);
    box->setStyleSheet(boxStyleSheet(colour));
    return box;
}

// The design places were drawn for a narrower typeface: a caption that does not fit its place
// grows (to the left for right-aligned text) instead of being cut.
void widenToFitCaption(QWidget* control) {
    const QSize wanted = control->sizeHint();
    QRect place = control->geometry();
    if (wanted.width() > place.width()) {
        const auto* label = qobject_cast<QLabel*>(control);
        const bool rightAligned = label != nullptr && (label->alignment() & Qt::AlignRight);
        if (rightAligned) {
            place.setLeft(place.right() - wanted.width() + 1);
        } else {
            place.setWidth(wanted.width());
        }
    }
    if (wanted.height() > place.height()) {
        place.adjust(0, -(wanted.height() - place.height()) / 2, 0, 0);
        place.setHeight(wanted.height());
    }
    control->setGeometry(place);
}

void makeBold(QWidget* widget, int extraPixels = 0) {
    QFont font = widget->font();
    font.setBold(true);
    if (extraPixels != 0) {
        font.setPixelSize(font.pixelSize() + extraPixels);
    }
    widget->setFont(font);
}

} // namespace

void MainWindowControls::buildMenus(QMainWindow& window) {
    QMenu* options = window.menuBar()->addMenu(text("Options"));
    options->setObjectName("mnuOptions");
    mnuautorun = options->addAction(text("Démarrer avec Windows"));
    mnuautorun->setObjectName("mnuautorun");
    mnuautorun->setCheckable(true);
    MnuJoursSansSonnerie = options->addAction(text("Jours sans sonnerie…"));
    MnuJoursSansSonnerie->setObjectName("MnuJoursSansSonnerie");
    MnuJournal = options->addAction(text("Journal…"));
    MnuJournal->setObjectName("MnuJournal");
    MnuQuit = options->addAction(text("Quitter"));
    MnuQuit->setObjectName("MnuQuit");

    // "Jour" is never on the menu bar: "Copier la journée" shows it as a pop-up.
    mnuJour = new QMenu(text("Jour"), &window);
    mnuJour->setObjectName("mnuJour");
    for (int i = 1; i <= 7; ++i) {
        Jour[i - 1] = mnuJour->addAction(text(kDayNames[i - 1]));
        Jour[i - 1]->setObjectName(indexed("Jour", i));
    }
}

void MainWindowControls::buildLeftSide(QMainWindow& window, QWidget* client) {
    Frame9 = place(new QGroupBox(text(" Port de communication "), client), "Frame9",
                   twipsRect(180, 120, 2055, 2355));
    Setting = label(Frame9, "Setting", kLineParameters, twipsRect(300, 300, 795, 195));
    portGroup = new QButtonGroup(&window);
    portGroup->setExclusive(true);
    const int widths[] = {1275, 795, 795, 915, 1095};
    for (int i = 0; i < 5; ++i) {
        PortCom[i] = place(new QRadioButton(text(kPortComCaptions[i]), Frame9),
                           indexed("PortCom", i), twipsRect(300, 660 + 300 * i, widths[i], 255));
        portGroup->addButton(PortCom[i], i);
    }
    PortCom[0]->setChecked(true);

    LblHeure = label(client, "LblHeure", "00:00:00", twipsRect(180, 2640, 2055, 255));
    LblHeure->setAlignment(Qt::AlignCenter);
    makeBold(LblHeure, 3);

    auto* label6 = label(client, "Label6", "Etat des Entrées", twipsRect(660, 3000, 1170, 195));
    label6->hide();
    // What rings next, over the hidden inputs' place; its texts are cut rather than widened.
    LblProchaine = label(client, "LblProchaine", "", twipsRect(180, 2940, 2055, 555));
    LblProchaine->setAlignment(Qt::AlignCenter);
    label(client, "Label7", "Etat des Sorties", twipsRect(660, 3540, 1110, 195));

    const int lefts[] = {120, 660, 1200, 1740};
    const int checkLefts[] = {120, 660, 1260, 1800};
    const char* checkCaptions[] = {"S1", "S2", "S3", "S4"};
    for (int i = 0; i < 4; ++i) {
        LedSat[i] = colourBox(client, indexed("LedSat", i), twipsRect(lefts[i], 3240, 495, 195),
                              kLedOffColour);
        LedSat[i]->hide();
        CheckS[i] = place(new QCheckBox(text(checkCaptions[i]), client), indexed("CheckS", i),
                          twipsRect(checkLefts[i], 3840, 555, 315));
        LedOut[i] = colourBox(client, indexed("LedOut", i), twipsRect(lefts[i], 4140, 495, 195),
                              kLedOffColour);
        LblTemp[i] =
            label(client, indexed("LblTemp", i), "00:00", twipsRect(lefts[i], 4380, 495, 195));
        makeBold(LblTemp[i]);
        LblMaxi[i] =
            label(client, indexed("LblMaxi", i), "0", twipsRect(lefts[i] + 360, 4680, 120, 195));
        LblMaxi[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        makeBold(LblMaxi[i]);
        if (i >= 2) {
            CheckS[i]->hide();
            LedOut[i]->hide();
            LblTemp[i]->hide();
            LblMaxi[i]->hide();
        }
    }
    // A duration of several digits grows leftwards from its design place.
    for (QLabel* maxi : LblMaxi) {
        maxi->setGeometry(maxi->geometry().adjusted(-px(360), 0, 0, 0));
    }

    for (int i = 0; i < 2; ++i) {
        CmdRelais[i] = button(client, indexed("CmdRelais", i), i == 0 ? "Relais 1" : "Relais 2",
                              twipsRect(240, 5040 + 480 * i, 1815, 400), " Test relais manuel ");
    }

    InfoERR = label(client, "InfoERR", "", twipsRect(120, 6480, 7155, 315));
    InfoERR->setFrameShape(QFrame::Box);
    InfoERR->setAlignment(Qt::AlignCenter);
}

void MainWindowControls::buildEditor(QWidget* client) {
    FrameQuorel = place(new QGroupBox(text(" Quorel "), client), "FrameQuorel",
                        twipsRect(2580, 180, 4695, 6195));
    QWidget* frame = FrameQuorel;
    label(frame, "Label9", "Sortie", twipsRect(180, 300, 405, 195));
    label(frame, "Label20_0", "H +", twipsRect(840, 300, 255, 255));
    label(frame, "Label20_1", "H +", twipsRect(1320, 300, 255, 255));
    auto* label3 = label(frame, "Label3", "Durée ''", twipsRect(1800, 300, 540, 195));
    label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    ComboS = place(new QComboBox(frame), "ComboS", twipsRect(180, 480, 510, 315));
    for (int i = 0; i < 2; ++i) {
        ChDecoupe[i] =
            field(frame, indexed("ChDecoupe", i), twipsRect(720 + 540 * i, 480, 525, 255),
                  " minutes et secondes ex 02:15 ");
    }
    ChDure = field(frame, "ChDure", twipsRect(1800, 480, 555, 255), " en secondes ");
    BtnInti = button(frame, "BtnInti", "Intitialise", twipsRect(2940, 480, 1395, 315));

    Quorel = place(new QTreeView(frame), "Quorel", twipsRect(180, 840, 2595, 4275));
    Quorel->setRootIsDecorated(false);
    Quorel->setUniformRowHeights(true);
    Quorel->setSelectionMode(QAbstractItemView::SingleSelection);
    Quorel->setSelectionBehavior(QAbstractItemView::SelectRows);
    Quorel->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Quorel->setAllColumnsShowFocus(true);
    Quorel->header()->setSectionsClickable(true);
    Quorel->header()->setSectionsMovable(false);
    Quorel->header()->setStretchLastSection(false);

    JourSemaine = place(new QListWidget(frame), "JourSemaine", twipsRect(2940, 900, 1395, 1425));
    JourSemaine->setSelectionMode(QAbstractItemView::SingleSelection);
    BtnSave = button(frame, "BtnSave", "Sauve", twipsRect(2940, 2460, 1395, 315));
    BtnDelete =
        button(frame, "BtnDelete", "RAZ", twipsRect(2940, 2940, 1395, 315), " Remise a Zéro ");
    BtnCopy = button(frame, "BtnCopy", "Copier la journée", twipsRect(2940, 3420, 1395, 315),
                     " Copier la journée du ");

    ChEdit[0] = field(frame, "ChEdit_0", twipsRect(180, 5220, 375, 285), " de 1 à 4 ");
    ChEdit[1] = field(frame, "ChEdit_1", twipsRect(780, 5220, 855, 285), " hh:mn:ss ");
    ChEdit[2] = field(frame, "ChEdit_2", twipsRect(1860, 5220, 555, 285), " en secondes ");
    BtnAjouter = button(frame, "BtnAjouter", "Ajouter", twipsRect(180, 5700, 855, 315));
    BtnReplacer = button(frame, "BtnReplacer", "Replacer", twipsRect(1020, 5700, 855, 315));
    BtnSupp = button(frame, "BtnSupp", "Supprimer", twipsRect(1860, 5700, 855, 315));
}

void MainWindowControls::buildHiddenControls(QWidget* client) {
    // These lie below the client area and are never seen.
    label(client, "Label1", "Entrée", twipsRect(180, 7860, 465, 195));
    label(client, "Label2", "Sortie", twipsRect(180, 8220, 405, 195));
    field(client, "E", twipsRect(720, 7800, 375, 315), nullptr);
    field(client, "S", twipsRect(720, 8160, 375, 315), nullptr);
}

MainWindowControls::MainWindowControls(QMainWindow& window) {
    buildMenus(window);
    // The places are in pixels, so the type is too: 11 pixels, the size the layout was made for.
    QFont type = window.font();
    type.setPixelSize(11);
    window.setFont(type);
    auto* client = new QWidget(&window);
    client->setObjectName("client");
    client->setFixedSize(px(kClientWidth), px(kClientHeight));
    window.setCentralWidget(client);
    buildLeftSide(window, client);
    buildEditor(client);
    buildHiddenControls(client);
    for (QWidget* control : client->findChildren<QWidget*>()) {
        if (qobject_cast<QLabel*>(control) != nullptr && control != InfoERR &&
            control != LblProchaine) {
            widenToFitCaption(control);
        } else if (qobject_cast<QRadioButton*>(control) != nullptr ||
                   qobject_cast<QCheckBox*>(control) != nullptr) {
            widenToFitCaption(control);
        }
    }
}

} // namespace quorel
