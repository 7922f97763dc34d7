// Building the main window: menus, controls, their start texts, fonts, colours and tab order.
#include "ui/announcer.h"
#include "ui/backdrop.h"
#include "ui/caption_button.h"
#include "ui/code_list_box.h"
#include "ui/control_table.h"
#include "ui/form1.h"
#include "ui/key_area_widget.h"
#include "ui/key_table.h"
#include "ui/option_group.h"
#include "ui/accessible_roles.h"
#include "ui/piano_keys.h"
#include "ui/playback_wait.h"
#include "ui/title_bar.h"
#include "ui/window_fit.h"
#include "ui/window_font.h"
#include "ui/window_icon.h"

#include <QGuiApplication>
#include <QCloseEvent>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>

#include <cstdlib>
#include <limits>

namespace quaverline {

namespace {

const QColor kLightYellow(255, 255, 192);
const QColor kLightGreen(192, 255, 192);

const char* StartCaption(CaptionTarget target) {
  for (const Caption& caption : kCaptions)
    if (caption.target == target) return caption.atStart;
  return "";
}

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// A button with its caption at its place; coloured buttons get a solid face.
CaptionButton* NewButton(const char* caption, QWidget* parent, const QRect& place, const QColor& face = {}) {
  auto* button = new CaptionButton(Utf8(caption), parent);
  button->setGeometry(place);
  if (face.isValid()) button->SetFaceColour(face);
  return button;
}

}  // namespace

Form1::Form1(SoundPlatform& sound, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      sound_(sound) {
  InputBox = [this](const QString& prompt, const QString& title) {
    return QInputDialog::getText(this, title, prompt);
  };
  ExitProcess = [] { std::exit(0); };
  heldInput_ = new InputCounter(this);

  InstallAccessibleRoles();
  setWindowTitle(Utf8(kWindowTitle));
  setWindowIcon(WindowIcon());
  setFont(WindowFont(kFontPixels, false));
  BuildMenus();
  BuildControls();
  announcer = new Announcer(this);
  SetTabOrder();
  SetAccessibleNames(Language::English);
  ConnectHandlers();
  Form_Load();

  layout_ = std::make_unique<TreeLayout>(backdrop);
  // Fixed size: the client area below the menu bar is the layout's, nothing more.
  setFixedSize(places::kClientWidth, places::kClientHeight + menuBar()->sizeHint().height());
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  List1->setFocus();
}

void Form1::FitToWorkArea(const QRect& area, const QMargins& frame) {
  // The menu bar and the own title bar keep their size; the client area takes the scale.
  const int above = menuBar()->sizeHint().height() + (titleBar ? TitleBar::kHeight : 0);
  const double scale = FitScale(area.size() - QSize(0, above), QSize(places::kClientWidth, places::kClientHeight), frame);
  layout_->Apply(scale);
  backdrop->SetScale(scale);
  // Rounded to whole pixels the client area may come out a pixel larger than the room it has.
  const QSize room = area.size().shrunkBy(frame) - QSize(0, above);
  const QSize scaled = ScaledRect(QRect(0, 0, places::kClientWidth, places::kClientHeight), scale).size();
  const QSize client = room.isValid() ? scaled.boundedTo(room) : scaled;
  backdrop->setFixedSize(client);
  setFixedSize(client.width(), client.height() + above);
  if (titleBar) titleBar->setGeometry(0, 0, width(), TitleBar::kHeight);
  // The window's place is its frame's: centred with its title bar and borders.
  const QSize framed = size().grownBy(frame);
  if (isVisible() && area.contains(QRect(pos(), framed))) return;
  const QPoint corner = area.topLeft() + QPoint((area.width() - framed.width()) / 2, (area.height() - framed.height()) / 2);
  // The window itself goes inside its frame: where the frame is not known to Qt yet (X11 before
  // the window manager has framed the window), a place that includes it would count it as none.
  setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), size()));
}

Form1::~Form1() = default;

void Form1::UseOwnTitleBar() {
  // The frameless hint alone: set beside the title-bar hints it does not stick.
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  titleBar = new TitleBar(this);
  const QSize framed = size() + QSize(0, TitleBar::kHeight);
  setContentsMargins(0, TitleBar::kHeight, 0, 0);
  setFixedSize(framed);
  titleBar->setGeometry(0, 0, framed.width(), TitleBar::kHeight);
  new WindowEdge(this);
}

void Form1::BuildMenus() {
  QMenuBar* bar = menuBar();
  mnuBeenden = bar->addAction(Utf8(StartCaption(CaptionTarget::mnuBeenden)));
  mnuLang = bar->addMenu(Utf8(StartCaption(CaptionTarget::mnuLang)));
  mnuEnglish = mnuLang->addAction(Utf8(StartCaption(CaptionTarget::mnuEnglish)));
  mnuGerman = mnuLang->addAction(Utf8(StartCaption(CaptionTarget::mnuGerman)));
  mnuEnglish->setCheckable(true);
  mnuGerman->setCheckable(true);
  mnuEnglish->setChecked(true);

  // The list's context menu is never part of the bar; it only pops up.
  mnupop = new QMenu(Utf8(kPopMenu), this);
  mnuDuration = mnupop->addAction(Utf8(StartCaption(CaptionTarget::mnuDuration)));
  mnustrich = mnupop->addSeparator();
  mnucopy = mnupop->addAction(Utf8(StartCaption(CaptionTarget::mnucopy)));
  mnustrich2 = mnupop->addSeparator();
  mnudelnote = mnupop->addAction(Utf8(kDeleteNote));
  mnudelall = mnupop->addAction(Utf8(kDeleteAll));
  // A desktop theme gives menus a font of its own (Windows' at start and whenever its settings
  // change); set on them, the window's font stays.
  for (QWidget* menu : {static_cast<QWidget*>(bar), static_cast<QWidget*>(mnuLang), static_cast<QWidget*>(mnupop)})
    menu->setFont(font());
}

void Form1::BuildControls() {
  backdrop = new Backdrop(this);
  backdrop->setFixedSize(places::kClientWidth, places::kClientHeight);
  setCentralWidget(backdrop);

  BuildKeyAreas();

  Label6 = new QLabel(QStringLiteral("Label6"), backdrop);
  Label6->setGeometry(places::Label6);
  Label6->hide();

  List1 = new CodeListBox(backdrop);
  List1->setGeometry(places::List1);
  List1->setSelectionMode(QAbstractItemView::SingleSelection);

  List2 = new QListWidget(backdrop);
  List2->setGeometry(places::List2);
  List2->hide();

  Frame1 = new QFrame(backdrop);
  Frame1->setGeometry(places::Frame1);
  Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  BuildFrameControls();

  // The options lie in a group of their own, which screen readers name with them; it draws nothing.
  Options = new OptionGroup(backdrop);
  Options->setGeometry(places::Option1 | places::Option2);
  Option1 = new QRadioButton(Utf8(StartCaption(CaptionTarget::Option1)), Options);
  Option1->setGeometry(places::Option1.translated(-Options->pos()));
  Option2 = new QRadioButton(Utf8(StartCaption(CaptionTarget::Option2)), Options);
  Option2->setGeometry(places::Option2.translated(-Options->pos()));
  Option2->setChecked(true);
  Options->KeepTabStopOnSelected();

  Command5 = NewButton(StartCaption(CaptionTarget::Command5), backdrop, places::Command5, kLightGreen);
  Command6 = NewButton(StartCaption(CaptionTarget::Command6), backdrop, places::Command6, kLightGreen);
}

void Form1::BuildFrameControls() {
  struct Field {
    QLabel*& label;
    const char* caption;
    QRect labelPlace;
    QLineEdit*& text;
    const char* startText;
    QRect textPlace;
  };
  const Field fields[] = {
      {Label3, "Port", places::Label3, Text3, "Portb.0", places::Text3},
      {Label4, "Xtal in Hz", places::Label4, Text4, "8000000", places::Text4},
      {Label2, "Duration in Ms", places::Label2, Text1, "150", places::Text1},
      {Label1, "Frequenz in Hz", places::Label1, Text2, "1000", places::Text2},
  };
  for (const Field& field : fields) {
    field.label = new QLabel(Utf8(field.caption), Frame1);
    field.label->setGeometry(field.labelPlace);
    field.label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    field.text = new QLineEdit(Utf8(field.startText), Frame1);
    field.text->setGeometry(field.textPlace);
    field.text->setTextMargins(0, 0, 0, 0);
    field.label->setBuddy(field.text);  // names the field for screen readers
  }

  Label5 = new QLabel(QStringLiteral("Code:"), Frame1);
  Label5->setGeometry(places::Label5);
  Label5->setFont(WindowFont(kFontPixels, true));
  Label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  Text5 = new QLineEdit(QStringLiteral("Text5"), Frame1);
  Text5->setGeometry(places::Text5);
  Text5->setEnabled(false);
  Text5->setFocusPolicy(Qt::NoFocus);
  Text5->setTextMargins(0, 0, 0, 0);
  // The line joins the port and the duration, each as long as a field takes; it must not be cut.
  Text5->setMaxLength(std::numeric_limits<int>::max());
  Label5->setBuddy(Text5);

  Command1 = NewButton(StartCaption(CaptionTarget::Command1), Frame1, places::Command1, kLightYellow);
  Command2 = NewButton(StartCaption(CaptionTarget::Command2), Frame1, places::Command2, kLightYellow);
  Command3 = NewButton(kAddToList, Frame1, places::Command3);

  Line2 = new QFrame(Frame1);
  Line2->setGeometry(QRect(places::Line2.p1(), places::Line2.p2()));
  Line2->setFrameStyle(QFrame::HLine | QFrame::Plain);
  Line2->setLineWidth(1);

  Label33 = new QLabel(Utf8(StartCaption(CaptionTarget::Label33)), Frame1);
  Label33->setGeometry(places::Label33);
  Label33->setFont(WindowFont(kHelpFontPixels, true));
  Label33->setWordWrap(true);
  Label33->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Form1::BuildKeyAreas() {
  QRect keys;
  for (const KeyArea& area : kKeyAreas)
    if (area.noteName) keys |= QRect(area.left, area.top, area.width, area.height);
  Piano = new PianoKeys(backdrop);
  Piano->setGeometry(keys);

  // The two areas without action lie on the backdrop, bottom first, so that each lies above those
  // listed after it; the piano goes above them, as Label27 in it hides most of Label19.
  for (int k = int(kKeyAreas.size()) - 1; k >= 0; --k) {
    const KeyArea& area = kKeyAreas[k];
    if (area.noteName) continue;
    auto* widget = new KeyAreaWidget(backdrop);
    widget->setObjectName(QString::fromLatin1(area.name));
    widget->setGeometry(area.left, area.top, area.width, area.height);
    widget->raise();
    keyAreas[k] = widget;
  }
  Piano->raise();

  // The keys in the piano, lowest first, the order in which screen readers list them; no two of
  // them overlap.
  std::array<KeyAreaWidget*, kPianoKeyCount> byPitch{};
  for (int pitch = 0; pitch < kPianoKeyCount; ++pitch) {
    const int k = kKeysByPitch[pitch];
    const KeyArea& area = kKeyAreas[k];
    auto* widget = new KeyAreaWidget(Piano);
    widget->setObjectName(QString::fromLatin1(area.name));
    widget->setGeometry(QRect(area.left, area.top, area.width, area.height).translated(-keys.topLeft()));
    keyAreas[k] = byPitch[pitch] = widget;
  }
  Piano->SetKeys(byPitch);
}

void Form1::SetTabOrder() {
  QWidget* order[] = {List1, Text4, Text3, Text2, Text1, Command1, Command2, Command6, Command5, Option1, Option2, Command3,
                     Piano};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void Form1::closeEvent(QCloseEvent* event) {
  event->accept();
  EndProgram();
}

}  // namespace quaverline
