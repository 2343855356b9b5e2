#include "skin/ui/SkinManager.h"

#include <QApplication>
#include <QEvent>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>
#include <algorithm>

#include "skin/SkinData.h"
#include "skin/ui/ControlSkins.h"
#include "skin/ui/FormSkin.h"
#include "skin/ui/SkinStyle.h"

namespace ruto {

namespace {

TSkinManage*& instance() {
  static TSkinManage* m = nullptr;
  return m;
}

// Set once the manager has looked at a window, so only its first show runs the tests.
constexpr char kTriedProperty[] = "ruto_skin_tried";

// The window a skin data of single windows belongs to: the top-level widget it was made for.
QWidget* ownerWindow(const TSkinData* data) {
  auto* w = qobject_cast<QWidget*>(data->parent());
  return w && w->isWindow() ? w : nullptr;
}

}  // namespace

TSkinManage* SkinManager() {
  if (!instance()) instance() = new TSkinManage();
  return instance();
}

TSkinManage* ExistingSkinManager() { return instance(); }

TSkinManage::TSkinManage() : QObject(qApp) {
  timer_.setSingleShot(true);
  timer_.setInterval(100);
  connect(&timer_, &QTimer::timeout, this, &TSkinManage::runPendingCommand);
  qApp->installEventFilter(this);
  TSkinData::SetCommandSink(
      [this](TSkinData* d, int command, int delay) { SetCommand(d, command, delay); });
  TSkinData::SetSingleWindowSink(
      [this](TSkinData* d, bool skinOwner) { SkinSingleWindows(d, skinOwner); });
}

TSkinManage::~TSkinManage() {
  TSkinData::SetCommandSink({});
  TSkinData::SetSingleWindowSink({});
  if (instance() == this) instance() = nullptr;
  for (const auto& f : forms_)
    if (f) {
      f->Detach();
      delete f.data();
    }
  forms_.clear();
  // While the application goes down it deletes its style itself.
  if (!QCoreApplication::closingDown()) switchStyle(false);
}

void TSkinManage::AddSkinData(TSkinData* data) {
  if (!data || std::find(datas_.begin(), datas_.end(), data) != datas_.end()) return;
  datas_.push_back(data);
  if (data->SkinFormtype == TSkinFormType::sfMainform) {
    if (!main_) main_ = data;
    // Only a skin data of the main window has new windows looked at; the others skin their
    // own windows.
    hooked_ = true;
  }
  connect(data, &QObject::destroyed, this, [this, data] { RemoveSkinData(data); });
  connect(data, &TSkinData::contentReplaced, this,
          [this, data](bool reloadAsked) { skinReplaced(data, reloadAsked); });
}

void TSkinManage::skinReplaced(TSkinData* data, bool reloadAsked) {
  for (TSkinForm* f : formSkinsOf(data)) f->DropCaptionButtons();
  // The reload runs on the timer from the first activation on; before it, or for a skin data
  // that asks none, nothing else would give the windows their buttons back.
  if (reloadAsked && started_) return;
  for (TSkinForm* f : formSkinsOf(data)) f->RebuildCaptionButtons();
}

void TSkinManage::SkinSingleWindows(TSkinData* data, bool skinOwner) {
  AddSkinData(data);
  ++singleWindows_;
  QWidget* owner = skinOwner ? ownerWindow(data) : nullptr;
  if (owner && attachFormSkin(owner, data) == SkinRefusal::None) switchStyle(true);
}

void TSkinManage::RemoveSkinData(TSkinData* data) {
  datas_.erase(std::remove(datas_.begin(), datas_.end(), data), datas_.end());
  if (main_ == data) main_ = nullptr;
  if (target_ == data) target_ = nullptr;
  // Form skins of a skin data that goes must not paint from it any more.
  for (TSkinForm* f : formSkinsOf(data)) {
    f->Detach();
    f->deleteLater();
  }
  purgeFormSkins();
}

void TSkinManage::SetCommand(TSkinData* target, int command, int delayMs) {
  AddSkinData(target);
  target_ = target;
  command_ = command;
  if (started_) {
    timer_.start(delayMs);
    return;
  }
  // Before the first activation only the switch changes; the first shown window is then
  // skinned at once.
  if (command == 1) {
    active_ = true;
    switchStyle(true);
  } else if (command == 2) {
    active_ = false;
    switchStyle(false);
  }
  command_ = 0;
}

void TSkinManage::runPendingCommand() {
  timer_.stop();
  const int command = command_;
  command_ = 0;
  if (!target_) return;
  runCommand(command);
  if (target_) target_->DoSkinChanged();
  target_ = nullptr;
}

void TSkinManage::runCommand(int command) {
  // The commands of an sfOnlyThisForm target reach its owner window alone.
  const bool ownWindowOnly = target_->SkinFormtype == TSkinFormType::sfOnlyThisForm;
  switch (command) {
    case 1: {
      active_ = forceAll_ = true;
      switchStyle(true);
      purgeFormSkins();
      const QWidgetList tops =
          ownWindowOnly ? QWidgetList{ownerWindow(target_)} : QApplication::topLevelWidgets();
      for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        if (*it && (*it)->isVisible()) SkinWindow(*it);
      forceAll_ = false;
      break;
    }
    case 2: {
      active_ = false;
      purgeFormSkins();
      if (ownWindowOnly) {
        releaseOwnWindow();
        break;
      }
      while (!forms_.isEmpty())
        if (QPointer<TSkinForm> f = forms_.takeFirst()) releaseFormSkin(f);
      switchStyle(false);
      break;
    }
    case 3: {
      purgeFormSkins();
      const QList<TSkinForm*> reloaded = formSkinsOf(target_);
      for (TSkinForm* f : reloaded) f->RebuildCaptionButtons(true);
      for (TSkinForm* f : reloaded) reloadFormSkin(f);
      break;
    }
    default:
      break;
  }
}

void TSkinManage::releaseOwnWindow() {
  QPointer<QWidget> released;
  if (const QList<TSkinForm*> own = formSkinsOf(target_); !own.isEmpty()) {
    released = own.last()->window();
    releaseFormSkin(own.last());
  }
  // Windows of other skin data keep their skin and the style with it; the released window's
  // controls give back what the skin changed.
  if (forms_.isEmpty())
    switchStyle(false);
  else if (released)
    RefreshControlSkins(released);
}

void TSkinManage::reloadFormSkin(TSkinForm* f) {
  f->RefreshSkin();
  if (QWidget* w = f->window()) RefreshControlSkins(w);
}

void TSkinManage::releaseFormSkin(TSkinForm* f) {
  forms_.removeAll(f);
  f->Detach();
  if (QWidget* w = f->window()) {
    w->setProperty(kTriedProperty, QVariant());
    w->update();
  }
  delete f;
}

void TSkinManage::purgeFormSkins() {
  forms_.removeIf([](const QPointer<TSkinForm>& f) { return f.isNull() || !f->window(); });
}

void TSkinManage::switchStyle(bool skinned) {
  if (skinned) {
    if (skinStyle_ && QApplication::style() == skinStyle_) return;
    savedStyleName_ = QApplication::style()->name();
    if (!skinStyle_) skinStyle_ = new SkinStyle(this, savedStyleName_);
    QApplication::setStyle(skinStyle_);
    return;
  }
  if (!skinStyle_ || QApplication::style() != skinStyle_) return;
  QApplication::setStyle(QStyleFactory::create(savedStyleName_.isEmpty() ? QStringLiteral("Fusion")
                                                                         : savedStyleName_));
}

TSkinForm* TSkinManage::FindFormSkin(const QWidget* window) const {
  for (const auto& f : forms_)
    if (f && f->window() == window) return f;
  return nullptr;
}

QList<TSkinForm*> TSkinManage::formSkins() const {
  QList<TSkinForm*> out;
  for (const auto& f : forms_)
    if (f) out << f.data();
  return out;
}

QList<TSkinForm*> TSkinManage::formSkinsOf(const TSkinData* data) const {
  QList<TSkinForm*> out = formSkins();
  out.removeIf([data](const TSkinForm* f) { return f->SkinData() != data; });
  return out;
}

TSkinData* TSkinManage::PopupSkinData() const {
  WindowFacts facts;
  facts.className = QStringLiteral("QMenu");
  return ChooseSkinData(datas_, facts, false);
}

SkinRefusal TSkinManage::SkinWindow(QWidget* w) { return attachFormSkin(w, nullptr); }

SkinRefusal TSkinManage::attachFormSkin(QWidget* w, TSkinData* own) {
  purgeFormSkins();
  WindowFacts facts;
  facts.alreadySkinned = FindFormSkin(w) != nullptr;
  facts.childWindow = !w->isWindow();
  const Qt::WindowType type = w->windowType();
  facts.windowKind = type == Qt::Window || type == Qt::Dialog;
  facts.size = w->size();
  facts.tag = w->property(kTagProperty).toInt();
  facts.className = QString::fromLatin1(w->metaObject()->className());
  facts.window = w;
  TSkinData* chosen = own ? own : ChooseSkinData(datas_, facts, isStandardDialog(w));
  const SkinRefusal r = SkinWindowTests(active_ || own, forceAll_, facts, main_, chosen);
  if (r != SkinRefusal::None) return r;
  auto* form = new TSkinForm(w, chosen);
  forms_.append(form);
  // A skinned window starts the manager as an activation does: commands wait for the timer.
  started_ = true;
  form->Attach();
  // The controls were polished with the main skin data's colours before the window was
  // skinned; a window that took another one gives them its own.
  if (chosen != main_) RefreshControlSkins(w);
  return SkinRefusal::None;
}

bool TSkinManage::eventFilter(QObject* watched, QEvent* e) {
  const QEvent::Type t = e->type();
  if (t != QEvent::Show && t != QEvent::WindowActivate) return false;
  if (!hooked_ || !watched->isWidgetType()) return false;
  auto* w = static_cast<QWidget*>(watched);
  if (!w->isWindow()) return false;
  if (t == QEvent::WindowActivate) started_ = true;
  if (!active_ || FindFormSkin(w)) return false;
  // A window is looked at when it is first shown and again at every activation, so one
  // refused for a reason that has gone since is skinned then.
  if (t == QEvent::Show) {
    if (w->property(kTriedProperty).toBool() || e->spontaneous()) return false;
    const SkinRefusal r = SkinWindow(w);
    if (r != SkinRefusal::ZeroSize && r != SkinRefusal::Inactive)
      w->setProperty(kTriedProperty, true);
    return false;
  }
  SkinWindow(w);
  return false;
}

}  // namespace ruto
