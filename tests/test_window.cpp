// The main window as it stands at start, the live code line, and the language switch.
#include "form_fixture.h"
#include "model/sound_line.h"
#include "ui/caption_button.h"
#include "ui/code_list_box.h"
#include "ui/piano_keys.h"

#include <QAccessible>

#include <QAction>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>

using namespace quaverline;

Q_DECLARE_METATYPE(Language)

namespace {

QStringList BarTexts(Form1& form) {
  QStringList texts;
  for (QAction* action : form.menuBar()->actions())
    if (action->isVisible()) texts << action->text();
  return texts;
}

QStringList PopTexts(Form1& form) {
  QStringList texts;
  for (QAction* action : form.mnupop->actions()) texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
  return texts;
}

// Does the text fit the widget's box, wrapped where the widget wraps?
bool Fits(const QWidget& widget, const QString& text, bool wraps, int margin) {
  const QRect box = widget.rect().adjusted(margin, 0, -margin, 0);
  const QFontMetrics metrics(widget.font());
  if (!wraps) return metrics.horizontalAdvance(text) <= box.width() && metrics.height() <= box.height();
  const QRect needed = metrics.boundingRect(box, Qt::TextWordWrap, text);
  return needed.width() <= box.width() && needed.height() <= box.height();
}

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT
 private slots:
  void startState();
  void menus();
  void hiddenAndDisabledControls();
  void tabOrder_data();
  void tabOrder();
  void fonts();
  void refreshFailuresKeepTheLine_data();
  void refreshFailuresKeepTheLine();
  void everyFieldRefreshes();
  void longFieldsMakeAWholeLine();
  void captionsFit_data();
  void captionsFit();
  void languageSwitch();
  void languageKeepsOptionAndLists();
  void accessibleNames_data();
  void accessibleNames();
};

void WindowTest::startState() {
  FormFixture f;
  Form1& form = *f.form;
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QCOMPARE(form.windowTitle(), QStringLiteral("Quaverline - MERODYNE v 1.2"));
  QCOMPARE(form.Text5->text(), QStringLiteral("Sound Portb.0 , 150 , 666"));
  QCOMPARE(form.Label6->text(), QStringLiteral("666"));
  QCOMPARE(form.pulses, 666);
  QCOMPARE(form.stopflag, 0);
  QCOMPARE(form.centralWidget()->size(), QSize(791, 685));
  QCOMPARE(form.minimumSize(), form.maximumSize());
  QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
  QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
  QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
  QVERIFY(form.Option2->isChecked());
  QVERIFY(!form.Option1->isChecked());
  QCOMPARE(form.List1->count(), 0);
  QCOMPARE(form.List2->count(), 0);
  QCOMPARE(form.Timer1.Interval(), 0);
  QVERIFY(form.Timer1.Enabled());
  QCOMPARE(QApplication::focusWidget(), form.List1);
  QVERIFY(!form.windowIcon().isNull());
  // The 24 keys lie in the piano, which covers them and nothing else; the two idle areas beside it.
  QRect keys;
  for (int k = 0; k < int(kKeyAreas.size()); ++k) {
    const QRect place = form.keyAreas[k]->geometry().translated(form.keyAreas[k]->parentWidget()->pos());
    QCOMPARE(form.keyAreas[k]->parentWidget() == form.Piano, kKeyAreas[k].noteName != nullptr);
    if (kKeyAreas[k].noteName) keys |= place;
  }
  QCOMPARE(form.Piano->geometry(), keys);
  // An idle timer never ticks.
  QTest::qWait(50);
  QVERIFY(f.sound.calls.empty());
}

void WindowTest::menus() {
  FormFixture f;
  Form1& form = *f.form;
  QCOMPARE(BarTexts(form), (QStringList{"End", "Language"}));
  QCOMPARE(form.mnuBeenden->menu(), nullptr);  // acts on a click in the bar itself
  QVERIFY(form.mnuEnglish->isChecked());
  QVERIFY(!form.mnuGerman->isChecked());
  QCOMPARE(form.mnupop->title(), QStringLiteral("pop"));
  QCOMPARE(PopTexts(form), (QStringList{"Duration", "-", "copy list to clipboard", "-", "delete note", "delete all"}));
  for (QAction* action : form.menuBar()->actions()) QVERIFY(action->menu() != form.mnupop);
  form.mnuBeenden->trigger();
  QCOMPARE(f.ends, 1);
}

void WindowTest::hiddenAndDisabledControls() {
  FormFixture f;
  Form1& form = *f.form;
  form.show();
  QVERIFY(!form.List2->isVisible());
  QVERIFY(!form.Label6->isVisible());
  QVERIFY(!form.Text5->isEnabled());
  QCOMPARE(form.Text5->focusPolicy(), Qt::NoFocus);
  QVERIFY(form.Text1->isVisible());
}

void WindowTest::tabOrder_data() {
  QTest::addColumn<bool>("listening");
  QTest::newRow("add notes to the list") << false;
  QTest::newRow("only listen to the notes") << true;
}

// The option pair is one Tab stop, on the selected option.
void WindowTest::tabOrder() {
  QFETCH(bool, listening);
  FormFixture f;
  Form1& form = *f.form;
  if (listening) form.Option1->setChecked(true);
  QList<QWidget*> chain;
  QWidget* w = form.List1;
  do {
    if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(&form)) chain << w;
    w = w->nextInFocusChain();
  } while (w != form.List1);
  const QList<QWidget*> expected = {form.List1,    form.Text4,    form.Text3,    form.Text2,
                                    form.Text1,    form.Command1, form.Command2, form.Command6,
                                    form.Command5, listening ? form.Option1 : form.Option2,
                                    form.Command3, form.Piano};
  QCOMPARE(chain, expected);
}

void WindowTest::fonts() {
  FormFixture f;
  Form1& form = *f.form;
  const QStringList faces = {"MS Sans Serif", "Liberation Sans"};
  QVERIFY2(faces.contains(QFontInfo(form.Text1->font()).family()), qPrintable(QFontInfo(form.Text1->font()).family()));
  QVERIFY(form.Label5->font().bold());
  QVERIFY(form.Label33->font().bold());
  QVERIFY(form.Label33->font().pixelSize() > form.Text1->font().pixelSize());
}

void WindowTest::refreshFailuresKeepTheLine_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("text");
  QTest::newRow("frequency 0") << "Text2" << "0";
  QTest::newRow("frequency emptied") << "Text2" << "";
  QTest::newRow("frequency letters") << "Text2" << "abc";
  QTest::newRow("frequency inf") << "Text2" << "inf";
  QTest::newRow("beyond 32 bits") << "Text2" << "0.0001";
  QTest::newRow("crystal letters") << "Text4" << "8 MHz";
  QTest::newRow("crystal nan") << "Text4" << "nan";
}

void WindowTest::refreshFailuresKeepTheLine() {
  QFETCH(QString, field);
  QFETCH(QString, text);
  FormFixture f;
  Form1& form = *f.form;
  form.Text2->setText(QStringLiteral("440"));  // a state other than the start one
  const QString line = form.Text5->text();
  QCOMPARE(line, QStringLiteral("Sound Portb.0 , 150 , 1515"));
  (field == "Text2" ? form.Text2 : form.Text4)->setText(text);
  QCOMPARE(form.pulses, 1515);
  QCOMPARE(form.Text5->text(), line);
  QCOMPARE(form.Label6->text(), QStringLiteral("1515"));
}

void WindowTest::everyFieldRefreshes() {
  FormFixture f;
  Form1& form = *f.form;
  QTest::keyClicks(form.Text2, QStringLiteral("0"));  // typing counts, keystroke by keystroke
  QCOMPARE(form.Text5->text(), QStringLiteral("Sound Portb.0 , 150 , 66"));
  form.Text2->setText(QStringLiteral("-1000"));
  QCOMPARE(form.Text5->text(), QStringLiteral("Sound Portb.0 , 150 , -667"));
  form.Text4->setText(QStringLiteral("4000000"));
  form.Text2->setText(QStringLiteral("440"));
  QCOMPARE(form.Label6->text(), QStringLiteral("757"));
  form.Text1->setText(QString());
  QCOMPARE(form.Text5->text(), QStringLiteral("Sound Portb.0 ,  , 757"));
  form.Text3->setText(QString());
  QCOMPARE(form.Text5->text(), QStringLiteral("Sound  ,  , 757"));
  form.Text1->setText(QStringLiteral("abc"));  // a duration is copied, never read as a number
  QCOMPARE(form.Text5->text(), QStringLiteral("Sound  , abc , 757"));
}

void WindowTest::longFieldsMakeAWholeLine() {
  FormFixture f;
  Form1& form = *f.form;
  const QString port(form.Text3->maxLength(), QLatin1Char('P'));
  const QString duration(form.Text1->maxLength(), QLatin1Char('9'));
  form.Text3->setText(port);
  form.Text1->setText(duration);
  QCOMPARE(form.Text5->text(), CodeLine(port, duration, QStringLiteral("666")));
  form.Command3_Click();
  QCOMPARE(f.Lines(), QStringList{CodeLine(port, duration, QStringLiteral("666"))});
}

void WindowTest::captionsFit_data() {
  QTest::addColumn<Language>("language");
  QTest::newRow("at start") << Language::English;
  QTest::newRow("German") << Language::German;
}

void WindowTest::captionsFit() {
  QFETCH(Language, language);
  FormFixture f;
  Form1& form = *f.form;
  if (language == Language::German) form.mnuGerman_Click();
  form.show();
  for (CaptionButton* button : {form.Command1, form.Command2, form.Command3, form.Command5, form.Command6})
    QVERIFY2(Fits(*button, button->text(), true, 4), qPrintable(button->text()));
  for (QLabel* label : {form.Label1, form.Label2, form.Label3, form.Label4, form.Label5})
    QVERIFY2(Fits(*label, label->text(), false, 0), qPrintable(label->text()));
  QVERIFY2(Fits(*form.Label33, form.Label33->text(), true, 0), "help text");
  for (QRadioButton* option : {form.Option1, form.Option2})
    QVERIFY2(option->sizeHint().width() <= option->width(), qPrintable(option->text()));
}

void WindowTest::languageSwitch() {
  FormFixture f;
  Form1& form = *f.form;
  const QString englishHelp = form.Label33->text();
  QCOMPARE(englishHelp.size(), 394);
  QVERIFY(englishHelp.endsWith(QStringLiteral("Have fun!!! ")));

  form.mnuEnglish_Click();  // right after start: three texts change
  QCOMPARE(form.mnuDuration->text(), QStringLiteral("change duration"));
  QCOMPARE(form.Command5->text(), QStringLiteral("Play list on PC-Speaker"));
  QCOMPARE(form.Command6->text(), QStringLiteral("Play list on Soundcard"));
  QCOMPARE(form.Label33->text(), englishHelp);

  form.mnuGerman_Click();
  form.mnuGerman_Click();  // choosing the active language again changes nothing
  QCOMPARE(BarTexts(form), (QStringList{"Beenden", "Sprache"}));
  QCOMPARE(form.mnuEnglish->text(), QStringLiteral("Englisch"));
  QCOMPARE(form.mnuGerman->text(), QStringLiteral("Deutsch"));
  QVERIFY(!form.mnuEnglish->isChecked());
  QVERIFY(form.mnuGerman->isChecked());
  QCOMPARE(PopTexts(form), (QStringList{"Intervall bearbeiten", "-", "Liste in die Zwischenablage kopieren", "-",
                                        "delete note", "delete all"}));
  QCOMPARE(form.Command1->text(), QStringLiteral("Abspielen auf PC-Lautsprecher"));
  QCOMPARE(form.Command2->text(), QStringLiteral("Abspielen auf Soundkarte"));
  QCOMPARE(form.Command5->text(), QStringLiteral("Abspielen der Liste auf PC-Lautsprecher"));
  QCOMPARE(form.Command6->text(), QStringLiteral("Abspielen der Liste auf Soundkarte"));
  QCOMPARE(form.Option1->text(), QStringLiteral("Nur anhören"));
  QCOMPARE(form.Option2->text(), QStringLiteral("Noten zur Liste hinzufügen"));
  QCOMPARE(form.Label33->text().size(), 437);
  QVERIFY(form.Label33->text().endsWith(QStringLiteral("Viel Spaß!!!")));
  // Texts that never change.
  QCOMPARE(form.Command3->text(), QStringLiteral("add to list"));
  QCOMPARE(form.windowTitle(), QStringLiteral("Quaverline - MERODYNE v 1.2"));
  QCOMPARE(form.Label1->text(), QStringLiteral("Frequenz in Hz"));
  QCOMPARE(form.Label2->text(), QStringLiteral("Duration in Ms"));
  QCOMPARE(form.Label5->text(), QStringLiteral("Code:"));

  form.mnuEnglish_Click();  // back to the English column, not the start captions
  QCOMPARE(BarTexts(form), (QStringList{"End", "Language"}));
  QCOMPARE(form.mnuDuration->text(), QStringLiteral("change duration"));
  QCOMPARE(form.Command5->text(), QStringLiteral("Play list on PC-Speaker"));
  QCOMPARE(form.Option1->text(), QStringLiteral("only listen to the notes"));
  QCOMPARE(form.Label33->text(), englishHelp);
  QVERIFY(form.mnuEnglish->isChecked());
  QVERIFY(!form.mnuGerman->isChecked());
}

void WindowTest::languageKeepsOptionAndLists() {
  FormFixture f;
  Form1& form = *f.form;
  form.Option1->setChecked(true);
  form.Text1->setText(QStringLiteral("200"));
  form.Command3_Click();
  form.mnuGerman->trigger();
  QVERIFY(form.Option1->isChecked());
  QVERIFY(form.mnuGerman->isChecked());
  form.mnuEnglish->trigger();
  QVERIFY(form.Option1->isChecked());
  QVERIFY(form.mnuEnglish->isChecked() && !form.mnuGerman->isChecked());
  QCOMPARE(f.Lines(), QStringList{"Sound Portb.0 , 200 , 666"});
  QCOMPARE(form.Text1->text(), QStringLiteral("200"));
}

// What a screen reader calls the controls without a caption of their own, in both languages; a
// field is named and labelled by its caption.
void WindowTest::accessibleNames_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("english");
  QTest::addColumn<QString>("german");
  QTest::addColumn<QString>("label");
  QTest::newRow("crystal") << "Text4" << "Xtal in Hz" << "Xtal in Hz" << "Label4";
  QTest::newRow("port") << "Text3" << "Port" << "Port" << "Label3";
  QTest::newRow("frequency") << "Text2" << "Frequenz in Hz" << "Frequenz in Hz" << "Label1";
  QTest::newRow("duration") << "Text1" << "Duration in Ms" << "Duration in Ms" << "Label2";
  QTest::newRow("code line") << "Text5" << "Code:" << "Code:" << "Label5";
  QTest::newRow("code list") << "List1" << "Code list" << "Code-Liste" << "";
  QTest::newRow("piano") << "Piano" << "Piano" << "Klaviatur" << "";
}

void WindowTest::accessibleNames() {
  QFETCH(QString, control);
  QFETCH(QString, english);
  QFETCH(QString, german);
  QFETCH(QString, label);
  FormFixture f;
  Form1& form = *f.form;
  const QMap<QString, QWidget*> controls = {{"Text1", form.Text1}, {"Text2", form.Text2}, {"Text3", form.Text3},
                                            {"Text4", form.Text4}, {"Text5", form.Text5}, {"List1", form.List1},
                                            {"Piano", form.Piano}};
  const QMap<QString, QWidget*> labels = {{"Label1", form.Label1}, {"Label2", form.Label2}, {"Label3", form.Label3},
                                          {"Label4", form.Label4}, {"Label5", form.Label5}};
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(controls[control]);
  QCOMPARE(access->text(QAccessible::Name), english);
  if (!label.isEmpty()) {
    const auto labelRelations = access->relations(QAccessible::Label);
    QCOMPARE(labelRelations.size(), 1);
    QCOMPARE(labelRelations.first().first->object(), labels[label]);
  }
  form.mnuGerman_Click();
  QCOMPARE(access->text(QAccessible::Name), german);
  form.mnuEnglish_Click();
  QCOMPARE(access->text(QAccessible::Name), english);
}

QTEST_MAIN(WindowTest)
#include "test_window.moc"
