// Every window of the registry read as assistive technology reads it: every button, edit,
// combo box and grid has a name (its caption, hint or the label beside it). The names are
// listed in test-output/access/names.txt.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <algorithm>

#include "WindowCensus.h"
#include "app/SharedRecords.h"
#include "app/ui/ControlNames.h"
#include "app/ui/PrintAbortBox.h"
#include "support/TestSupport.h"

namespace {

using ruto::kExitQuestion;
using ruto::MsgRequest;
using ruto::ThePrintAbortBox;
using ruto::ViewState;
using ruto::test::Opener;
using ruto::test::settle;

// The kind of control that must carry a name; null for the rest.
const char* namedKind(QAccessible::Role role) {
  switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
      return "button";
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
      return "edit";
    case QAccessible::ComboBox:
      return "combo";
    case QAccessible::Table:
      return "grid";
    default:
      return nullptr;
  }
}

// The name a screen reader speaks. On this platform a combo box's name is its current text,
// and its label comes through the label relation, as an edit's may.
QString nameOf(QAccessibleInterface* iface) {
  if (iface->role() != QAccessible::ComboBox) {
    const QString name = iface->text(QAccessible::Name);
    if (!name.isEmpty()) return name;
  }
  if (auto* w = qobject_cast<QWidget*>(iface->object()); w && !w->accessibleName().isEmpty())
    return w->accessibleName();
  for (const auto& [label, relation] : iface->relations(QAccessible::Label)) {
    const QString text = label->text(QAccessible::Name);
    if (!text.isEmpty()) return text;
  }
  return {};
}

class AccessibleNames : public ruto::test::WindowCensusTest {
 protected:
  void walk(QAccessibleInterface* iface, const QString& window, const QString& path) {
    if (!iface || !iface->isValid()) return;
    const QObject* o = iface->object();
    // A control hidden on purpose is none the user meets (panes only the report reads);
    // the pages of a tab widget, hidden while another is shown, are walked.
    const bool hidden = o && o->isWidgetType() && static_cast<const QWidget*>(o)->isHidden();
    // An editable combo box's own edit goes by the combo box's name.
    const bool comboEdit = o && qobject_cast<const QComboBox*>(o->parent());
    // Qt's own overflow arrow of a tool bar, hidden while the bar fits its window.
    const bool overflow = o && o->objectName() == QLatin1String("qt_toolbar_ext_button");
    if (overflow) {
      EXPECT_TRUE(iface->state().invisible) << qPrintable(window);
    }
    if (const char* kind = namedKind(iface->role()); kind && !comboEdit && !overflow && !hidden) {
      ++named_;
      const QString name = nameOf(iface);
      const QString where = QStringLiteral("%1 %2 %3 %4")
                                .arg(window, path, QString::fromLatin1(kind),
                                     o ? o->objectName() : QStringLiteral("-"));
      lines_ << where + QStringLiteral(": ") + name;
      // A name of marks alone ("...") says nothing either.
      if (std::none_of(name.begin(), name.end(), [](QChar c) { return c.isLetterOrNumber(); }))
        missing_ << where;
    }
    // Cells and list rows name themselves by their text.
    if (iface->role() == QAccessible::Table || iface->role() == QAccessible::List) return;
    for (int i = 0; i < iface->childCount(); ++i)
      walk(iface->child(i), window, path + QLatin1Char('/') + QString::number(i));
  }
  void walkWindow(QWidget* w, const QString& name) {
    walk(QAccessible::queryAccessibleInterface(w), name, QString());
  }

  int named_ = 0;
  QStringList lines_, missing_;
};

TEST_F(AccessibleNames, EveryControlOfEveryWindowHasAName) {
  ruto::InstallControlNames();
  ASSERT_TRUE(CreateMainWindows());
  TheMainWindow->show();
  settle();
  TheMainWindow->runFirstActivation();
  settle();
  walkWindow(TheMainWindow, QStringLiteral("main"));
  ViewState.ClientNewMode = true;
  ViewState.ProgramNewMode = true;
  for (const Opener& o : ruto::test::kOpeners) {
    const int shown =
        openEachModal(o, [&](QWidget* w, const QString& name) { walkWindow(w, name); });
    EXPECT_NE(shown, 0) << o.name << " opened no window";
  }
  // The message box and the print-abort box, which no opener shows.
  MsgRequest.Kind = ruto::MsgKind::QuestionYesNo;
  MsgRequest.Text = kExitQuestion;
  ruto::MessageBox box(TheMainWindow);
  box.show();
  settle();
  walkWindow(&box, QStringLiteral("message"));
  box.close();
  ThePrintAbortBox->show();
  settle();
  walkWindow(ThePrintAbortBox, QStringLiteral("abort"));
  ThePrintAbortBox->hide();
  EXPECT_GT(named_, 100);
  EXPECT_TRUE(missing_.isEmpty()) << "without a name that says something:\n"
                                  << missing_.join(QLatin1Char('\n')).toStdString();
  QDir().mkpath(ruto::test::outputDir() + QStringLiteral("/access"));
  QFile out(ruto::test::outputDir() + QStringLiteral("/access/names.txt"));
  ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
  out.write(lines_.join(QLatin1Char('\n')).toUtf8() + '\n');
}

}  // namespace
