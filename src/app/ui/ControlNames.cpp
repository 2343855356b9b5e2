#include "app/ui/ControlNames.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

#include "app/ui/WindowEventHook.h"

namespace ruto {

namespace {

// A control the user fills in or reads values from, named by a label.
bool wantsLabel(const QWidget* w) {
  for (const QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
    if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p) ||
        qobject_cast<const QAbstractScrollArea*>(p))
      return false;  // a part of a larger control, which carries the name
  if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
      qobject_cast<const QComboBox*>(w))
    return true;
  return qobject_cast<const QAbstractScrollArea*>(w) && !qobject_cast<const QScrollArea*>(w);
}

QLabel* buddyLabelOf(const QWidget* w) {
  if (!w->parentWidget()) return nullptr;
  for (QLabel* l : w->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
    if (l->buddy() == w) return l;
  return nullptr;
}

// The layout that holds `w` as an item, searched from `layout` down.
QLayout* holder(QLayout* layout, const QWidget* w) {
  if (!layout) return nullptr;
  if (layout->indexOf(w) >= 0) return layout;
  for (int i = 0; i < layout->count(); ++i)
    if (QLayout* found = holder(layout->itemAt(i)->layout(), w)) return found;
  return nullptr;
}

QString captionOf(QLayoutItem* item) {
  QWidget* w = item ? item->widget() : nullptr;
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text().trimmed();
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text().trimmed();
  return {};
}

// Names `w` by the label or check box `item` holds; false when it holds neither. A label
// becomes the buddy, unless it names another control already or `w` is an item view, whose
// name Qt takes only from the name itself.
bool nameBy(QLayoutItem* item, QWidget* w) {
  QWidget* by = item ? item->widget() : nullptr;
  const QString text = captionOf(item);
  if (text.isEmpty() || !(qobject_cast<QLabel*>(by) || qobject_cast<QCheckBox*>(by))) return false;
  auto* label = qobject_cast<QLabel*>(by);
  if (label && !label->buddy() && !qobject_cast<QAbstractItemView*>(w))
    label->setBuddy(w);
  else
    w->setAccessibleName(text);
  return true;
}

QLayoutItem* at(QGridLayout* grid, int row, int col) {
  return row >= 0 && col >= 0 ? grid->itemAtPosition(row, col) : nullptr;
}

QWidget* widgetAt(QGridLayout* grid, int row, int col) {
  QLayoutItem* item = at(grid, row, col);
  return item ? item->widget() : nullptr;
}

void nameFromGrid(QGridLayout* grid, QWidget* w) {
  int row = 0, col = 0, rowSpan = 0, colSpan = 0;
  grid->getItemPosition(grid->indexOf(w), &row, &col, &rowSpan, &colSpan);
  // A table of controls: the heading over a column of like controls, after the row's caption.
  int top = row - 1;
  while (widgetAt(grid, top, col) && widgetAt(grid, top, col)->metaObject() == w->metaObject())
    --top;
  const QString caption = col > 0 ? captionOf(at(grid, row, 0)) : QString();
  if (top == 0 && !caption.isEmpty() && qobject_cast<QLabel*>(widgetAt(grid, 0, col))) {
    w->setAccessibleName(caption + QLatin1Char(' ') + captionOf(at(grid, 0, col)));
    return;
  }
  // Else the caption to its left, or over it.
  if (!nameBy(at(grid, row, col - 1), w)) nameBy(at(grid, row - 1, col), w);
}

// The caption of the tab page that holds `w`, unless a titled group box holds it first.
QString tabCaption(const QWidget* w) {
  for (const QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget()) {
    if (auto* box = qobject_cast<const QGroupBox*>(p); box && !box->title().isEmpty()) return {};
    const QWidget* stack = p->parentWidget();
    if (auto* tabs = qobject_cast<const QTabWidget*>(stack ? stack->parentWidget() : nullptr)) {
      const int index = tabs->indexOf(const_cast<QWidget*>(p));
      if (index >= 0) return tabs->tabText(index).remove(QLatin1Char('&'));
    }
  }
  return {};
}

void nameFromLayout(QWidget* w) {
  QLayout* layout = holder(w->parentWidget() ? w->parentWidget()->layout() : nullptr, w);
  if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
    nameFromGrid(grid, w);
  } else if (auto* box = qobject_cast<QBoxLayout*>(layout)) {
    // The caption just before it: to its left in a row, over it in a column.
    const int index = box->indexOf(w);
    if (index > 0) nameBy(box->itemAt(index - 1), w);
  }
  if (w->accessibleName().isEmpty() && !buddyLabelOf(w)) {
    const QString page = tabCaption(w);
    if (!page.isEmpty()) w->setAccessibleName(page);
  }
}

QString arrowName(Qt::ArrowType arrow) {
  switch (arrow) {
    case Qt::UpArrow:
      return QStringLiteral("向上");
    case Qt::DownArrow:
      return QStringLiteral("向下");
    case Qt::LeftArrow:
      return QStringLiteral("向左");
    case Qt::RightArrow:
      return QStringLiteral("向右");
    default:
      return {};
  }
}

}  // namespace

void NameControls(QWidget* window) {
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (w->window() != window || w->objectName().startsWith(QLatin1String("qt_"))) continue;
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
      // A caption of marks alone ("...") says nothing read aloud: the hint says what it does.
      const QString caption = b->text();
      const bool saysNothing = std::none_of(caption.begin(), caption.end(),
                                            [](QChar c) { return c.isLetterOrNumber(); });
      if (!saysNothing || !b->accessibleName().isEmpty()) continue;
      QString name = b->toolTip();
      if (auto* tool = qobject_cast<QToolButton*>(b); tool && name.isEmpty())
        name = arrowName(tool->arrowType());
      if (!name.isEmpty()) b->setAccessibleName(name);
      continue;
    }
    if (wantsLabel(w) && w->accessibleName().isEmpty() && !buddyLabelOf(w)) nameFromLayout(w);
  }
}

void InstallControlNames() {
  static QPointer<QObject> namer;
  WatchEveryWindow(namer, QEvent::Show, NameControls);
}

}  // namespace ruto
