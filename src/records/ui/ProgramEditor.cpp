#include "records/ui/ProgramEditor.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <tuple>

#include "app/AskUser.h"
#include "app/CommandApproval.h"
#include "app/ProgramConditions.h"
#include "app/SharedRecords.h"
#include "app/TransferColumns.h"
#include "app/ui/TypedMemo.h"
#include "app/ui/WindowKeys.h"
#include "app/ui/WindowParts.h"
#include "app/ui/WindowPlacement.h"
#include "base/Text.h"
#include "device/MeterCommands.h"
#include "records/ProgramRecords.h"
#include "records/ui/TypingLimit.h"
#include "skin/ui/ControlSkins.h"

namespace ruto {

namespace {

QToolButton* smallButton(QWidget* parent, const QString& name, const QString& text,
                         const QString& hint) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(text);
  b->setToolTip(hint);
  return b;
}

QString realChooser(QWidget* parent, const QString& kind) {
  const auto options = QFileDialog::DontUseNativeDialog;
  if (kind == QStringLiteral("program"))
    return QFileDialog::getOpenFileName(parent, QStringLiteral("設定執行程式或功能"),
                                        QDir::homePath(), QStringLiteral("All Files (*)"), nullptr,
                                        options);
  if (kind == QStringLiteral("parameter"))
    return QFileDialog::getOpenFileName(parent, QStringLiteral("設定參數或外部檔案"),
                                        QDir::homePath(), QStringLiteral("All Files (*)"), nullptr,
                                        options);
  return QFileDialog::getOpenFileName(parent, QStringLiteral("照片"), QDir::homePath(),
                                      QStringLiteral("圖片 (*.png *.jpg *.jpeg *.bmp *.gif)"),
                                      nullptr, options);
}

}  // namespace

ProgramEditor::ProgramEditor(RecordSet* programs, QString* lastProgramNo, QWidget* parent)
    : FormShowOnce(parent),
      chooseFile(&realChooser),
      programs_(programs),
      lastProgramNo_(lastProgramNo),
      newMode_(ViewState.ProgramNewMode) {
  FollowPlatformKeys(this);
  setObjectName(QStringLiteral("ProgramEditor"));
  setWindowTitle(QStringLiteral("專家療程異動"));
  PlaceOnShow(this, WindowPlace::Owner);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  auto* bar = new QToolBar(this);
  saveButton = new QToolButton(bar);
  saveButton->setObjectName(QStringLiteral("saveButton"));
  saveButton->setText(QStringLiteral("儲存資料"));
  saveButton->setToolTip(QStringLiteral("儲存療程資料"));
  exitButton = new QToolButton(bar);
  exitButton->setObjectName(QStringLiteral("exitButton"));
  exitButton->setText(QStringLiteral("離  開"));
  exitButton->setToolTip(QStringLiteral("離開療程異動系統"));
  bar->addWidget(saveButton);
  bar->addWidget(exitButton);
  root->addWidget(bar);

  auto* body = new QGridLayout;
  body->setContentsMargins(8, 6, 8, 8);
  root->addLayout(body);
  numberEdit = new QLineEdit(this);
  numberEdit->setObjectName(QStringLiteral("numberEdit"));
  TypingLimit::bind(numberEdit,
                    TransferColumnWidth(QStringLiteral("VOPRO"), QStringLiteral("ProNo")));
  nameEdit = new QLineEdit(this);
  nameEdit->setObjectName(QStringLiteral("nameEdit"));
  TypingLimit::bind(nameEdit,
                    TransferColumnWidth(QStringLiteral("VOPRO"), QStringLiteral("ProName")));
  body->addWidget(new QLabel(QStringLiteral("療程編號:"), this), 0, 0);
  body->addWidget(numberEdit, 0, 1);
  body->addWidget(new QLabel(QStringLiteral("（不得重複）"), this), 0, 2);
  body->addWidget(new QLabel(QStringLiteral("療程名稱:"), this), 1, 0);
  body->addWidget(nameEdit, 1, 1, 1, 2);

  auto* memoGroup = new QGroupBox(QStringLiteral("療程說明"), this);
  auto* ml = new QVBoxLayout(memoGroup);
  descriptionEdit = new QPlainTextEdit(memoGroup);
  descriptionEdit->setObjectName(QStringLiteral("descriptionEdit"));
  ml->addWidget(descriptionEdit);
  body->addWidget(memoGroup, 2, 0, 1, 3);

  auto* pictureGroup = new QGroupBox(QStringLiteral("照片"), this);
  auto* pl = new QVBoxLayout(pictureGroup);
  programPicture = new QLabel(pictureGroup);
  programPicture->setObjectName(QStringLiteral("programPicture"));
  programPicture->setFixedSize(160, 120);
  programPicture->setFrameShape(QFrame::Box);
  programPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  pl->addWidget(programPicture);
  auto* pb = new QHBoxLayout;
  changePictureButton = new QPushButton(QStringLiteral("異  動"), pictureGroup);
  MarkBitButton(changePictureButton);
  changePictureButton->setObjectName(QStringLiteral("changePictureButton"));
  clearPictureButton = new QPushButton(QStringLiteral("X"), pictureGroup);
  MarkBitButton(clearPictureButton);
  clearPictureButton->setObjectName(QStringLiteral("clearPictureButton"));
  pb->addWidget(changePictureButton);
  pb->addWidget(clearPictureButton);
  pl->addLayout(pb);
  actualSizeBox = new QCheckBox(QStringLiteral("原圖大小( 1 : 1 )"), pictureGroup);
  actualSizeBox->setObjectName(QStringLiteral("actualSizeBox"));
  pl->addWidget(actualSizeBox);
  body->addWidget(pictureGroup, 0, 3, 3, 1);

  // The four run buttons: enabled box, hint, program and parameter with their choosers, test.
  auto* runs = new QGroupBox(QStringLiteral("執行功能程式"), this);
  auto* rl = new QGridLayout(runs);
  rl->addWidget(new QLabel(QStringLiteral("說明"), runs), 0, 1);
  rl->addWidget(new QLabel(QStringLiteral("執行功能程式"), runs), 0, 2);
  rl->addWidget(new QLabel(QStringLiteral("參數與檔案"), runs), 0, 4);
  for (int n = 1; n <= 4; ++n) {
    RunRow& r = runRows[static_cast<size_t>(n - 1)];
    const auto name = [n](const char* part) {
      return QStringLiteral("run%1").arg(n) + QLatin1String(part);
    };
    r.enabled = new QCheckBox(QStringLiteral("程式 %1").arg(n), runs);
    r.enabled->setObjectName(name("Enabled"));
    for (auto [edit, part, column] : {std::tuple{&RunRow::hint, "Hint", "ProScrp"},
                                      std::tuple{&RunRow::program, "Program", "ProPrg"},
                                      std::tuple{&RunRow::parameter, "Parameter", "ProParm"}}) {
      auto* e = new QLineEdit(runs);
      e->setObjectName(name(part));
      TypingLimit::bind(e, TransferColumnWidth(QStringLiteral("VOPRO"),
                                               QLatin1String(column) + QString::number(n)));
      r.*edit = e;
      connect(e, &QLineEdit::textChanged, e,
              [e](const QString& t) { e->setToolTip(PlainToolTip(t)); });
    }
    r.hint->setMinimumWidth(120);
    r.pickProgram = smallButton(runs, name("PickProgram"), QStringLiteral("..."),
                                QStringLiteral("設定執行程式或功能"));
    r.pickParameter = smallButton(runs, name("PickParameter"), QStringLiteral("..."),
                                  QStringLiteral("設定參數或外部檔案"));
    r.test =
        smallButton(runs, name("Test"), QStringLiteral("測試"), QStringLiteral("連結功能測試"));
    rl->addWidget(r.enabled, n, 0);
    rl->addWidget(r.hint, n, 1);
    rl->addWidget(r.program, n, 2);
    rl->addWidget(r.pickProgram, n, 3);
    rl->addWidget(r.parameter, n, 4);
    rl->addWidget(r.pickParameter, n, 5);
    rl->addWidget(r.test, n, 6);
    connect(r.pickProgram, &QToolButton::clicked, this, [this, n] { chooseProgram(n); });
    connect(r.pickParameter, &QToolButton::clicked, this, [this, n] { chooseParameter(n); });
    connect(r.test, &QToolButton::clicked, this, [this, n] { testRow(n); });
  }
  rl->setColumnStretch(2, 1);
  rl->setColumnStretch(4, 1);
  body->addWidget(runs, 3, 0, 1, 4);
  body->setColumnStretch(1, 1);

  connect(saveButton, &QToolButton::clicked, this, [this] { save(); });
  connect(exitButton, &QToolButton::clicked, this, [this] { leave(); });
  connect(numberEdit, &QLineEdit::textChanged, this, [this] { updateSaveButton(); });
  connect(changePictureButton, &QPushButton::clicked, this, [this] { pickPicture(); });
  connect(clearPictureButton, &QPushButton::clicked, this, [this] { clearPicture(); });
  connect(actualSizeBox, &QCheckBox::clicked, this, [this] { toggleActualSize(); });
}

void ProgramEditor::FormShow() {
  if (newMode_) {
    numberEdit->setEnabled(true);
    actualSizeBox->setChecked(false);
    picture_.clear();
    descriptionEdit->clear();
    numberEdit->clear();
    nameEdit->clear();
    for (RunRow& r : runRows) {
      for (QLineEdit* e : {r.hint, r.program, r.parameter}) e->clear();
      r.enabled->setChecked(false);
    }
  } else {
    stored_ = ProgramFieldsOf(*programs_, programs_->position());
    const TProgramFields& f = stored_;
    TypingLimit::showWhole(numberEdit, f.ProNo);
    TypingLimit::showWhole(nameEdit, f.ProName);
    for (int n = 0; n < 4; ++n) {
      RunRow& r = runRows[static_cast<size_t>(n)];
      TypingLimit::showWhole(r.hint, f.ProScrp[n]);
      TypingLimit::showWhole(r.program, f.ProPrg[n]);
      TypingLimit::showWhole(r.parameter, f.ProParm[n]);
      r.enabled->setChecked(FunctionKeyEnabled(f.ProFN, n + 1));
    }
    actualSizeBox->setChecked(f.ProScal);
    picture_ = f.ProPict;
    descriptionEdit->setPlainText(f.ProData);
    shownDescription_ = TypedMemoLines(descriptionEdit);
    numberEdit->setEnabled(false);
  }
  showPicture();
  updateSaveButton();
  // The user starts in the first field open to typing, never on a toolbar button.
  (newMode_ ? numberEdit : nameEdit)->setFocus(Qt::OtherFocusReason);
}

void ProgramEditor::showPicture() {
  QPixmap pixmap;
  if (!picture_.isEmpty()) pixmap.loadFromData(picture_);
  programPicture->setPixmap(pixmap);
  programPicture->setScaledContents(!actualSizeBox->isChecked());
}

void ProgramEditor::updateSaveButton() {
  saveButton->setEnabled(!Trim(numberEdit->text()).isEmpty());
}

void ProgramEditor::save() {
  if (Trim(numberEdit->text()).isEmpty()) return;
  TProgramFields f;
  f.ProNo = numberEdit->text();
  f.ProName = nameEdit->text();
  // A description left alone keeps its stored text, whatever its characters and line ends.
  const QStringList lines = TypedMemoLines(descriptionEdit);
  f.ProData =
      newMode_ || lines != shownDescription_ ? ProgramDescriptionText(lines) : stored_.ProData;
  f.ProPict = picture_;
  f.ProScal = actualSizeBox->isChecked();
  std::array<bool, 4> keys{};
  for (int n = 0; n < 4; ++n) {
    const RunRow& r = runRows[static_cast<size_t>(n)];
    f.ProScrp[n] = r.hint->text();
    f.ProPrg[n] = r.program->text();
    f.ProParm[n] = r.parameter->text();
    keys[n] = r.enabled->isChecked();
  }
  f.ProFN = FunctionKeyFlags(keys);
  // Flags left as shown keep their stored text, characters past the fourth included.
  bool sameKeys = !newMode_;
  for (int n = 0; n < 4; ++n)
    sameKeys = sameKeys && keys[n] == FunctionKeyEnabled(stored_.ProFN, n + 1);
  if (sameKeys) f.ProFN = stored_.ProFN;
  QString error;
  if (newMode_) {
    const int taken = FindProgramNumber(*programs_, f.ProNo);
    if (taken >= 0) {
      SendSignal(SignalKind::Question);
      AskUser(MsgKind::WarningOk,
              QStringLiteral("您所輸入的群組編號已經與另一群組 [ ") +
                  Trim(programs_->value(taken, QStringLiteral("ProName")).toString()) +
                  QStringLiteral(" ] 重覆!!請重新指定另一個編號。"));
      numberEdit->setFocus();
      return;
    }
    if (!AddProgram(*programs_, f, &error)) {
      AskUser(MsgKind::WarningOk, error);
      return;
    }
    if (lastProgramNo_) *lastProgramNo_ = f.ProNo;
  } else {
    if (!UpdateProgram(*programs_, programs_->bookmark(), f, &error)) {
      AskUser(MsgKind::WarningOk, error);
      return;
    }
  }
  accept();
}

void ProgramEditor::leave() { reject(); }

void ProgramEditor::pickPicture() {
  const QString path = chooseFile ? chooseFile(this, QStringLiteral("picture")) : QString();
  if (path.isEmpty()) return;
  const QByteArray bytes = ReadProgramPicture(path);
  if (bytes.isEmpty()) return;
  picture_ = bytes;
  showPicture();
}

void ProgramEditor::clearPicture() {
  picture_.clear();
  showPicture();
}

void ProgramEditor::toggleActualSize() {
  programPicture->setScaledContents(!actualSizeBox->isChecked());
}

void ProgramEditor::chooseProgram(int n) {
  const QString path = chooseFile ? chooseFile(this, QStringLiteral("program")) : QString();
  if (!path.isEmpty()) runRows[static_cast<size_t>(n - 1)].program->setText(path);
}

void ProgramEditor::chooseParameter(int n) {
  const QString path = chooseFile ? chooseFile(this, QStringLiteral("parameter")) : QString();
  if (!path.isEmpty()) runRows[static_cast<size_t>(n - 1)].parameter->setText(path);
}

void ProgramEditor::testRow(int n) {
  // The edits may still hold an imported program's command: it runs as a run button would.
  LaunchProgramCommand(programs_->database().connectionName(),
                       Trim(runRows[static_cast<size_t>(n - 1)].program->text()),
                       Trim(runRows[static_cast<size_t>(n - 1)].parameter->text()));
}

}  // namespace ruto
