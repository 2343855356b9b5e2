#include "app/ui/ViewAccessibles.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QEvent>
#include <QPointer>
#include <QSet>
#include <climits>

#include "app/ui/WindowEventHook.h"

namespace ruto {

namespace {

// Registered for a moment only, to learn the id the next interface gets.
class IdProbe final : public QAccessibleInterface {
 public:
  bool isValid() const override { return false; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return nullptr; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text) const override { return {}; }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override { return {}; }
  QAccessible::Role role() const override { return QAccessible::NoRole; }
  QAccessible::State state() const override { return {}; }
};

QAccessible::Id nextId() {
  const QAccessible::Id id = QAccessible::registerAccessibleInterface(new IdProbe);
  QAccessible::deleteAccessibleInterface(id);
  return id;
}

// A tree hands out a new cell at every request and keeps no list of them; Qt numbers its
// interfaces upwards from just past INT_MAX, so the ids handed out since the last look are
// where the new ones are. Table and list cells stay with their view's interface, which
// finds them by id again: those are dropped with it, never one by one.
class TreeCells {
 public:
  void drop(const QSet<const QObject*>& views) {
    const QAccessible::Id next = nextId();
    if (next < seenTo_) seenTo_ = kFirstId;  // the numbers wrapped round
    for (QAccessible::Id id = seenTo_; id < next; ++id) {
      QAccessibleInterface* iface = QAccessible::accessibleInterface(id);
      if (iface && !iface->object() && iface->role() == QAccessible::TreeItem &&
          iface->tableCellInterface())
        cells_ << id;
    }
    seenTo_ = next;
    QList<QAccessible::Id> kept;
    for (const QAccessible::Id id : std::as_const(cells_)) {
      QAccessibleInterface* cell = QAccessible::accessibleInterface(id);
      if (!cell) continue;
      const QAccessibleInterface* table = cell->tableCellInterface()->table();
      const QObject* view = table ? table->object() : nullptr;
      if (!view || views.contains(view))
        QAccessible::deleteAccessibleInterface(id);
      else
        kept << id;
    }
    cells_ = kept;
  }

 private:
  static constexpr QAccessible::Id kFirstId = QAccessible::Id(INT_MAX) + 1;
  QAccessible::Id seenTo_ = kFirstId;
  QList<QAccessible::Id> cells_;
};

}  // namespace

void DropViewAccessibles(QWidget* window) {
  static TreeCells treeCells;
  const QList<QAbstractItemView*> views = window->findChildren<QAbstractItemView*>();
  treeCells.drop(QSet<const QObject*>(views.begin(), views.end()));
  for (QAbstractItemView* v : views) {
    if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(v))
      QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
  }
}

void InstallViewAccessibleTeardown() {
  static QPointer<QObject> teardown;
  WatchEveryWindow(teardown, QEvent::Hide, DropViewAccessibles);
}

}  // namespace ruto
