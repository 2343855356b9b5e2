#include "records/ui/ProgramList.h"

#include <algorithm>

#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "app/AskUser.h"
#include "app/CommandApproval.h"
#include "app/DatabaseGuard.h"
#include "app/Databases.h"
#include "app/ProgramConditions.h"
#include "app/SharedRecords.h"
#include "app/TransferColumns.h"
#include "app/ui/TypedMemo.h"
#include "app/ui/WindowKeys.h"
#include "app/ui/WindowParts.h"
#include "app/ui/WindowPlacement.h"
#include "base/Numbers.h"
#include "base/Text.h"
#include "device/MeterCommands.h"
#include "records/ProgramRecords.h"
#include "records/ui/ProgramEditor.h"
#include "records/ui/RecordGrid.h"
#include "records/ui/TypingLimit.h"
#include "skin/ui/ControlSkins.h"

namespace ruto {

namespace {

const QString kBrowseStatus = QStringLiteral("【查詢療程模式】");

// The caption of each position's group flag.
constexpr std::array<const char*, 23> kPositionCaptions = {
    "",       "體能狀態", "精神狀態", "肌骨系統", "新陳代謝", "自律神經", "肺經", "大腸經",
    "心包經", "三焦經",   "心經",     "小腸經",   "脾經",     "胃經",     "肝經", "膽經",
    "腎經",   "膀胱經",   "木",       "火",       "土",       "金",       "水"};

QString shortestText(double v) { return FloatToStr(v); }

QString cellText(const RecordSet& set, const QString& column) {
  const QVariant v = set.field(column);
  return v.isNull() ? QString() : v.toString();
}

}  // namespace

// ---- TUpDown ----

TUpDown::TUpDown(int minimum, int maximum, QWidget* parent)
    : QWidget(parent), min_(minimum), max_(maximum), position_(minimum) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (int delta : {1, -1}) {
    auto* b = new QToolButton(this);
    b->setArrowType(delta > 0 ? Qt::UpArrow : Qt::DownArrow);
    b->setAutoRepeat(true);
    b->setFixedSize(16, 11);
    connect(b, &QToolButton::clicked, this, [this, delta] { stepBy(delta); });
    layout->addWidget(b);
  }
}

void TUpDown::setPosition(int p) { position_ = qBound(min_, p, max_); }

void TUpDown::stepBy(int delta) {
  setPosition(position_ + delta);
  Q_EMIT clicked();
}

// ---- ProgramList ----

ProgramList::ProgramList(QWidget* parent)
    : FormShowOnce(parent),
      programs(kMainConnection, QStringLiteral("VOPRO")),
      conditionRows(kMainConnection, QStringLiteral("VOPRDT")) {
  FollowPlatformKeys(this);
  setObjectName(QStringLiteral("ProgramList"));
  setWindowTitle(QStringLiteral("自訂專家療程"));
  PlaceOnShow(this, WindowPlace::Owner);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
  programs.setSort(QStringLiteral("ProNo ASC"));

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  auto* bar = new QToolBar(this);
  const auto button = [this, bar](const char* name, const char* text, const char* hint,
                                  void (ProgramList::*handler)()) {
    return addToolButton(bar, this, name, text, hint, handler);
  };
  newProgramButton =
      button("newProgramButton", "新增療程", "新增一個療程", &ProgramList::newProgram);
  editProgramButton =
      button("editProgramButton", "修改療程", "修改療程資料", &ProgramList::editProgram);
  deleteProgramButton =
      button("deleteProgramButton", "刪除療程", "刪除療程與條件", &ProgramList::deleteProgram);
  bar->addSeparator();
  newConditionButton =
      button("newConditionButton", "新增條件", "新增一筆條件", &ProgramList::newCondition);
  editConditionButton =
      button("editConditionButton", "修改條件", "修改條件資料", &ProgramList::editCondition);
  deleteConditionButton =
      button("deleteConditionButton", "刪除條件", "刪除這筆條件", &ProgramList::deleteCondition);
  bar->addSeparator();
  confirmButton = button("confirmButton", "確認異動", "儲存異動資料", &ProgramList::confirmEdit);
  cancelButton = button("cancelButton", "放  棄", "放棄異動資料", &ProgramList::cancelEdit);
  bar->addSeparator();
  exitButton = button("exitButton", "離  開", "離開專家療程設定", &ProgramList::leave);
  root->addWidget(bar);

  auto* body = new QHBoxLayout;
  body->setContentsMargins(6, 4, 6, 4);
  root->addLayout(body, 1);

  // Lists.
  auto* lists = new QVBoxLayout;
  const auto left = Qt::AlignLeft | Qt::AlignVCenter;
  programGrid = new RecordGrid(
      &programs,
      {{QStringLiteral("CoNo"), QStringLiteral("Index"), 44, Qt::AlignRight | Qt::AlignVCenter, {}},
       {QStringLiteral("ProNo"), QStringLiteral("療程編號"), 80, left, {}},
       {QStringLiteral("ProName"), QStringLiteral("療程名稱"), 150, left, {}}},
      this);
  programGrid->setObjectName(QStringLiteral("programGrid"));
  conditionGrid = new RecordGrid(
      &conditionRows,
      {{QStringLiteral("CoNo"), QStringLiteral("Index"), 44, Qt::AlignRight | Qt::AlignVCenter, {}},
       {QStringLiteral("ProFlgC"), QStringLiteral("必須"), 40, Qt::AlignCenter, {}},
       {QStringLiteral("ProSubN"), QStringLiteral("條件名稱"), 110, left, {}},
       {QStringLiteral("ProNote"), QStringLiteral("說明"), 120, left, {}}},
      this);
  conditionGrid->setObjectName(QStringLiteral("conditionGrid"));
  for (RecordGrid* g : {programGrid, conditionGrid}) g->setMinimumWidth(300);
  programGrid->setAccessibleName(QStringLiteral("療程資料"));
  conditionGrid->setAccessibleName(QStringLiteral("條件資料"));
  countLabel = new QLabel(this);
  countLabel->setObjectName(QStringLiteral("countLabel"));
  lists->addWidget(programGrid, 1);
  lists->addWidget(countLabel);
  lists->addWidget(conditionGrid, 1);
  body->addLayout(lists);

  // Conditions and the program panel. They scroll where the screen is lower than they are,
  // so that the lists' lower rows and the status bar stay on the screen.
  auto* right = new QWidget(this);
  buildConditionGroups(right);
  auto* conditions = new QScrollArea(this);
  conditions->setObjectName(QStringLiteral("conditionScroll"));
  conditions->setFrameShape(QFrame::NoFrame);
  conditions->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  conditions->setWidgetResizable(true);
  conditions->setWidget(right);
  conditions->setMinimumWidth(right->minimumSizeHint().width() +
                              conditions->verticalScrollBar()->sizeHint().width());
  body->addWidget(conditions, 1);

  statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("statusBar"));
  statusBar->setSizeGripEnabled(false);
  root->addWidget(statusBar);
  // Tall enough to show the conditions whole; the placement shrinks it to a lower screen.
  resize(sizeHint() +
         QSize(0, std::max(0, right->sizeHint().height() - conditions->sizeHint().height())));

  connect(programGrid, &RecordGrid::entered, this, [this] { activateProgramList(); });
  connect(programGrid, &RecordGrid::colEnter, this, [this] { activateProgramList(); });
  connect(conditionGrid, &RecordGrid::entered, this, [this] { activateConditionList(); });
  connect(conditionGrid, &RecordGrid::colEnter, this, [this] { activateConditionList(); });
  connect(programGrid, &RecordGrid::rowChanged, this, [this] { programChanged(); });
  connect(conditionGrid, &RecordGrid::rowChanged, this, [this] {
    if (browseMode) showConditionControls();
  });

  choosePicture = [](QWidget* owner) {
    return QFileDialog::getOpenFileName(owner, QStringLiteral("開啟圖片"), QDir::homePath(),
                                        QStringLiteral("圖片 (*.png *.jpg *.jpeg *.bmp *.gif)"),
                                        nullptr, QFileDialog::DontUseNativeDialog);
  };
}

ProgramList::~ProgramList() = default;

void ProgramList::buildConditionGroups(QWidget* host) {
  auto* layout = new QGridLayout(host);
  layout->setContentsMargins(0, 0, 0, 0);
  const auto box = [](QWidget* parent, const QString& name, const QString& caption) {
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(name);
    return c;
  };
  // Position p's row: its group flag, then its first and (with a caption) its second box.
  const auto addPosition = [&](QGroupBox* g, QGridLayout* l, int p, int row, int column,
                               const QString& first, const QString& second) {
    ConditionBoxes& b = positionBoxes[static_cast<size_t>(p)];
    const QString name = QStringLiteral("position%1").arg(p);
    b.group = box(g, name + QStringLiteral("Group"),
                  QString::fromUtf8(kPositionCaptions[static_cast<size_t>(p)]));
    b.first = box(g, name + QStringLiteral("First"), first);
    l->addWidget(b.group, row, column);
    l->addWidget(b.first, row, column + 1);
    if (second.isEmpty()) return;
    b.second = box(g, name + QStringLiteral("Second"), second);
    l->addWidget(b.second, row, column + 2);
  };
  const auto group = [this](QGroupBox*& g, const char* name, const QString& caption) {
    g = new QGroupBox(caption, this);
    g->setObjectName(QLatin1String(name));
    return g;
  };

  // Program data.
  QGroupBox* g1 = group(programGroup, "programGroup", QStringLiteral("療程資料"));
  auto* l1 = new QGridLayout(g1);
  programNoText = new QLabel(g1);
  programNoText->setObjectName(QStringLiteral("programNoText"));
  programNameText = new QLabel(g1);
  programNameText->setObjectName(QStringLiteral("programNameText"));
  // The program's number and name as typed.
  programNoText->setTextFormat(Qt::PlainText);
  programNameText->setTextFormat(Qt::PlainText);
  conditionNameEdit = new QLineEdit(g1);
  conditionNameEdit->setObjectName(QStringLiteral("conditionNameEdit"));
  TypingLimit::bind(conditionNameEdit,
                    TransferColumnWidth(QStringLiteral("VOPRDT"), QStringLiteral("ProSubN")));
  conditionNoteEdit = new QLineEdit(g1);
  conditionNoteEdit->setObjectName(QStringLiteral("conditionNoteEdit"));
  TypingLimit::bind(conditionNoteEdit,
                    TransferColumnWidth(QStringLiteral("VOPRDT"), QStringLiteral("ProNote")));
  requiredBox = new QCheckBox(QStringLiteral("必須條件"), g1);
  requiredBox->setObjectName(QStringLiteral("requiredBox"));
  l1->addWidget(new QLabel(QStringLiteral("療程編號:"), g1), 0, 0);
  l1->addWidget(programNoText, 0, 1);
  l1->addWidget(new QLabel(QStringLiteral("療程名稱:"), g1), 0, 2);
  l1->addWidget(programNameText, 0, 3);
  l1->addWidget(new QLabel(QStringLiteral("條件名稱:"), g1), 1, 0);
  l1->addWidget(conditionNameEdit, 1, 1);
  l1->addWidget(requiredBox, 1, 2, 1, 2);
  l1->addWidget(new QLabel(QStringLiteral("條件說明:"), g1), 2, 0);
  l1->addWidget(conditionNoteEdit, 2, 1, 1, 3);
  l1->setColumnStretch(1, 1);
  l1->setColumnStretch(3, 1);
  layout->addWidget(g1, 0, 0, 1, 2);

  // Body and mind, positions 1..5.
  QGroupBox* g2 = group(bodyMindGroup, "bodyMindGroup", QStringLiteral("體能精神狀態條件"));
  auto* l2 = new QGridLayout(g2);
  const char* firstCaptions[] = {"", "虛弱", "衰弱", "異常", "減弱", "異常"};
  const char* secondCaptions[] = {"", "亢奮", "亢奮", "", "增強", ""};
  for (int p = 1; p <= 5; ++p)
    addPosition(g2, l2, p, p - 1, 0, QString::fromUtf8(firstCaptions[p]),
                QString::fromUtf8(secondCaptions[p]));
  auto* range = new QHBoxLayout;
  rangeBox = box(g2, QStringLiteral("rangeBox"), QStringLiteral("範圍"));
  range->addWidget(rangeBox);
  rangeCompareBox = new QComboBox(g2);
  rangeCompareBox->setObjectName(QStringLiteral("rangeCompareBox"));
  rangeCompareBox->addItems(
      {QStringLiteral("等於 ="), QStringLiteral("大於 >"), QStringLiteral("小於 <")});
  energyEdit = new QLineEdit(g2);
  energyEdit->setObjectName(QStringLiteral("energyEdit"));
  energyEdit->setMaximumWidth(60);
  energySpin = new TUpDown(0, 200, g2);
  range->addWidget(rangeCompareBox);
  range->addWidget(energyEdit);
  range->addWidget(energySpin);
  range->addStretch(1);
  l2->addLayout(range, 5, 0, 1, 3);
  layout->addWidget(g2, 1, 0);

  // The twelve meridians, positions 6..17.
  QGroupBox* g3 = group(meridianGroup, "meridianGroup", QStringLiteral("個別經絡條件"));
  auto* l3 = new QGridLayout(g3);
  l3->setVerticalSpacing(0);
  for (int p = 6; p <= 17; ++p)
    addPosition(g3, l3, p, (p - 6) % 6, (p - 6) / 6 * 3, QStringLiteral("虛證"),
                QStringLiteral("實證"));
  layout->addWidget(g3, 1, 1, 2, 1);

  // The five elements, positions 18..22.
  QGroupBox* g4 = group(elementGroup, "elementGroup", QStringLiteral("五行條件"));
  auto* l4 = new QGridLayout(g4);
  l4->setVerticalSpacing(0);
  for (int p = 18; p <= 22; ++p)
    addPosition(g4, l4, p, p - 18, 0, QStringLiteral("虛證"), QStringLiteral("實證"));
  layout->addWidget(g4, 2, 0);

  // Age and sex.
  QGroupBox* g5 = group(ageSexGroup, "ageSexGroup", QStringLiteral("年齡條件"));
  auto* l5 = new QGridLayout(g5);
  ageFromEdit = new QLineEdit(g5);
  ageFromEdit->setObjectName(QStringLiteral("ageFromEdit"));
  ageToEdit = new QLineEdit(g5);
  ageToEdit->setObjectName(QStringLiteral("ageToEdit"));
  for (QLineEdit* e : {ageFromEdit, ageToEdit}) e->setMaximumWidth(50);
  ageFromSpin = new TUpDown(0, 100, g5);
  ageToSpin = new TUpDown(0, 100, g5);
  l5->addWidget(ageFromBox = box(g5, QStringLiteral("ageFromBox"), QStringLiteral("大於等於")), 0,
                0);
  l5->addWidget(ageFromEdit, 0, 1);
  l5->addWidget(ageFromSpin, 0, 2);
  l5->addWidget(ageToBox = box(g5, QStringLiteral("ageToBox"), QStringLiteral("小於等於")), 0, 3);
  l5->addWidget(ageToEdit, 0, 4);
  l5->addWidget(ageToSpin, 0, 5);
  l5->addWidget(
      sexConditionBox = box(g5, QStringLiteral("sexConditionBox"), QStringLiteral("性別條件")), 1,
      0);
  maleButton = new QRadioButton(QStringLiteral("男性"), g5);
  maleButton->setObjectName(QStringLiteral("maleButton"));
  femaleButton = new QRadioButton(QStringLiteral("女性"), g5);
  femaleButton->setObjectName(QStringLiteral("femaleButton"));
  maleButton->setChecked(true);
  l5->addWidget(maleButton, 1, 1, 1, 2);
  l5->addWidget(femaleButton, 1, 3, 1, 2);
  l5->setColumnStretch(6, 1);
  layout->addWidget(g5, 3, 0, 1, 2);

  // The program: description, picture, run buttons.
  auto* panel = new QHBoxLayout;
  descriptionEdit = new QPlainTextEdit(this);
  descriptionEdit->setObjectName(QStringLiteral("descriptionEdit"));
  descriptionEdit->setAccessibleName(QStringLiteral("療程說明"));
  descriptionEdit->setMinimumHeight(110);
  panel->addWidget(descriptionEdit, 2);
  auto* pictureColumn = new QVBoxLayout;
  programPicture = new QLabel(this);
  programPicture->setObjectName(QStringLiteral("programPicture"));
  programPicture->setFixedSize(140, 105);
  programPicture->setFrameShape(QFrame::Box);
  programPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  pictureColumn->addWidget(programPicture);
  auto* pictureButtons = new QHBoxLayout;
  changePictureButton = new QPushButton(QStringLiteral("異動"), this);
  MarkBitButton(changePictureButton);
  changePictureButton->setObjectName(QStringLiteral("changePictureButton"));
  changePictureButton->setToolTip(QStringLiteral("Modify Picture Database"));
  clearPictureButton = new QPushButton(QStringLiteral("X"), this);
  MarkBitButton(clearPictureButton);
  clearPictureButton->setObjectName(QStringLiteral("clearPictureButton"));
  clearPictureButton->setToolTip(QStringLiteral("Clear The Picture"));
  actualSizeBox = box(this, QStringLiteral("actualSizeBox"), QStringLiteral("1 : 1"));
  actualSizeBox->setToolTip(QStringLiteral("Scaled  1 : 1"));
  pictureButtons->addWidget(changePictureButton);
  pictureButtons->addWidget(clearPictureButton);
  pictureButtons->addWidget(actualSizeBox);
  pictureColumn->addLayout(pictureButtons);
  panel->addLayout(pictureColumn);
  layout->addLayout(panel, 4, 0, 1, 2);

  auto* keys = new QHBoxLayout;
  keys->addWidget(new QLabel(QStringLiteral("自訂功能鍵："), this));
  for (int n = 1; n <= 4; ++n) {
    auto* b = new QToolButton(this);
    b->setObjectName(QStringLiteral("runButton%1").arg(n));
    b->setText(QString::number(n));
    b->setMinimumWidth(40);
    runButtons[static_cast<size_t>(n)] = b;
    connect(b, &QToolButton::clicked, this, [this, n] { runProgram(n); });
    keys->addWidget(b);
  }
  keys->addStretch(1);
  layout->addLayout(keys, 5, 0, 1, 2);

  connect(rangeBox, &QCheckBox::clicked, this, [this] { toggleRange(); });
  connect(actualSizeBox, &QCheckBox::clicked, this, [this] { toggleActualSize(); });
  connect(ageFromBox, &QCheckBox::clicked, this, [this] { toggleAgeFrom(); });
  connect(ageToBox, &QCheckBox::clicked, this, [this] { toggleAgeTo(); });
  connect(sexConditionBox, &QCheckBox::clicked, this, [this] { toggleSexCondition(); });
  connect(energySpin, &TUpDown::clicked, this, [this] { stepEnergy(); });
  connect(ageFromSpin, &TUpDown::clicked, this, [this] { stepAgeFrom(); });
  connect(ageToSpin, &TUpDown::clicked, this, [this] { stepAgeTo(); });
  connect(changePictureButton, &QPushButton::clicked, this, [this] { pickPicture(); });
  connect(clearPictureButton, &QPushButton::clicked, this, [this] { clearPicture(); });
}

void ProgramList::closeEvent(QCloseEvent* event) {
  FormClose();
  QDialog::closeEvent(event);
}

void ProgramList::FormShow() {
  for (QToolButton* b : {newConditionButton, editConditionButton, deleteConditionButton,
                         cancelButton, confirmButton})
    b->setEnabled(false);
  programs.open();
  programChanged();
  programGrid->reload();
  browseMode = true;
  programListActive = true;
  setListColours();
  setEditing(false);
  updateCountLabel();
  refreshProgramPanel();
  editProgramButton->setEnabled(!programs.isEmpty());
  deleteProgramButton->setEnabled(!programs.isEmpty());
  statusBar->showMessage(kBrowseStatus);
  showConditionControls();
  // The user starts in the program rows, not on the first toolbar button.
  programGrid->setFocus(Qt::OtherFocusReason);
}

void ProgramList::FormClose() {
  programs.close();
  conditionRows.close();
}

// The condition list follows the current program.
void ProgramList::programChanged() {
  conditionRows.setLink(QStringLiteral("ProNo"), programs.isEmpty()
                                                     ? QVariant(QStringLiteral("\x01"))
                                                     : programs.field(QStringLiteral("ProNo")));
  if (conditionRows.isOpen())
    conditionRows.refresh();
  else
    conditionRows.open();
  conditionRows.first();
  conditionGrid->reload();
  showProgramFields();
  refreshProgramPanel();
  updateCountLabel();
  if (browseMode) {
    showConditionControls();
    if (!programListActive) {
      editConditionButton->setEnabled(conditionCount() > 0);
      deleteConditionButton->setEnabled(conditionCount() > 0);
    }
  }
}

void ProgramList::showProgramFields() {
  programNoText->setText(cellText(programs, QStringLiteral("ProNo")));
  programNameText->setText(cellText(programs, QStringLiteral("ProName")));
  descriptionEdit->setPlainText(cellText(programs, QStringLiteral("ProData")));
  shownDescription_ = TypedMemoLines(descriptionEdit);
  editPict_ = programs.field(QStringLiteral("ProPict")).toByteArray();
  pictureChanged_ = false;
  showPicture(editPict_);
}

void ProgramList::showPicture(const QByteArray& bytes) {
  QPixmap picture;
  if (!bytes.isEmpty()) picture.loadFromData(bytes);
  programPicture->setPixmap(picture);
}

void ProgramList::setEditing(bool editing) {
  programGrid->setEnabled(!editing);
  conditionGrid->setEnabled(!editing);
  for (QWidget* w :
       {static_cast<QWidget*>(descriptionEdit), static_cast<QWidget*>(conditionNameEdit),
        static_cast<QWidget*>(conditionNoteEdit)})
    w->setProperty("readOnly", !editing);
  for (QGroupBox* g : {programGroup, bodyMindGroup, meridianGroup, elementGroup, ageSexGroup})
    g->setEnabled(editing);
  changePictureButton->setEnabled(editing);
  clearPictureButton->setEnabled(editing);
  actualSizeBox->setEnabled(editing);
}

void ProgramList::setListColours() {
  const QColor active(0xFF, 0xB0, 0x80);
  const QColor face = palette().color(QPalette::Button);
  for (auto [grid, on] :
       {std::pair{programGrid, programListActive}, std::pair{conditionGrid, !programListActive}})
    for (QHeaderView* h : {grid->horizontalHeader(), grid->verticalHeader()}) {
      QPalette p = h->palette();
      p.setColor(QPalette::Button, on ? active : face);
      h->setPalette(p);
    }
}

void ProgramList::refreshProgramPanel() {
  const bool scaled = programs.field(QStringLiteral("ProScal")).toBool();
  actualSizeBox->setChecked(scaled);
  programPicture->setScaledContents(!scaled);
  const QString fn = cellText(programs, QStringLiteral("ProFN"));
  for (int n = 1; n <= 4; ++n) {
    runButtons[static_cast<size_t>(n)]->setEnabled(FunctionKeyEnabled(fn, n));
    runButtons[static_cast<size_t>(n)]->setToolTip(
        PlainToolTip(cellText(programs, QStringLiteral("ProScrp%1").arg(n))));
  }
}

void ProgramList::updateCountLabel() {
  countLabel->setText(ProgramCountText(programs.rowCount(), conditionCount()));
}

void ProgramList::showConditionControls() { showConditions(conditionRows.isEmpty()); }

void ProgramList::showConditions(bool blank) {
  const auto field = [&](const QString& column) {
    return blank ? QVariant() : conditionRows.field(column);
  };
  const auto text = [&](const QString& column) {
    const QVariant v = field(column);
    return v.isNull() ? QString() : v.toString();
  };
  const bool hasRow = !blank;
  const QString cond = text(QStringLiteral("ProCond"));
  const QString flags = text(QStringLiteral("ProAnd"));
  const double eng = field(QStringLiteral("ProEng")).toDouble();
  const double agl = field(QStringLiteral("ProAGL")).toDouble();
  const double agh = field(QStringLiteral("ProAGH")).toDouble();
  conditionDigits = ConditionText(cond);
  groupFlags = ConditionText(flags);
  TypingLimit::showWhole(conditionNameEdit, text(QStringLiteral("ProSubN")));
  TypingLimit::showWhole(conditionNoteEdit, text(QStringLiteral("ProNote")));
  requiredBox->setChecked(field(QStringLiteral("ProFlg")).toBool());
  shownNumbers_ = {hasRow ? shortestText(eng) : QString(), hasRow ? shortestText(agl) : QString(),
                   hasRow ? shortestText(agh) : QString()};
  energyEdit->setText(shownNumbers_[0]);
  ageFromEdit->setText(shownNumbers_[1]);
  ageToEdit->setText(shownNumbers_[2]);
  energySpin->setPosition(SpinPosition(eng, 200));
  ageFromSpin->setPosition(SpinPosition(agl, 100));
  ageToSpin->setPosition(SpinPosition(agh, 100));

  const TConditionForm f = DecodeConditions(cond, flags);
  for (int p = 1; p <= 22; ++p) {
    const ConditionBoxes& b = positionBoxes[static_cast<size_t>(p)];
    b.first->setChecked(f.First[p]);
    if (b.second) b.second->setChecked(f.Second[p]);
    b.group->setChecked(f.Group[p]);
  }
  rangeBox->setChecked(f.Range);
  positionBoxes[1].first->setEnabled(!f.Range);
  positionBoxes[1].second->setEnabled(!f.Range);
  rangeCompareBox->setEnabled(f.Range);
  energyEdit->setEnabled(f.Range);
  energySpin->setEnabled(f.Range);
  rangeCompareBox->setCurrentIndex(f.RangeIndex);
  ageFromBox->setChecked(f.AgeLow);
  ageToBox->setChecked(f.AgeHigh);
  ageFromEdit->setEnabled(f.AgeLow);
  ageFromSpin->setEnabled(f.AgeLow);
  ageToEdit->setEnabled(f.AgeHigh);
  ageToSpin->setEnabled(f.AgeHigh);
  sexConditionBox->setChecked(f.SexCondition);
  maleButton->setEnabled(f.SexCondition);
  femaleButton->setEnabled(f.SexCondition);
  if (f.SexCondition) (f.Male ? maleButton : femaleButton)->setChecked(true);
}

void ProgramList::buildConditionStrings() {
  TConditionForm f;
  for (int p = 1; p <= 22; ++p) {
    const ConditionBoxes& b = positionBoxes[static_cast<size_t>(p)];
    f.First[p] = b.first->isChecked();
    f.Second[p] = b.second && b.second->isChecked();
    f.Group[p] = b.group->isChecked();
  }
  f.Range = rangeBox->isChecked();
  f.RangeIndex = rangeCompareBox->currentIndex();
  f.AgeLow = ageFromBox->isChecked();
  f.AgeHigh = ageToBox->isChecked();
  f.SexCondition = sexConditionBox->isChecked();
  f.Male = maleButton->isChecked();
  const auto [digits, flags] = EncodeConditions(f);
  conditionDigits = digits;
  groupFlags = flags;
}

void ProgramList::browseToolbar() {
  const bool rows = conditionCount() > 0;
  editConditionButton->setEnabled(rows);
  deleteConditionButton->setEnabled(rows);
  newConditionButton->setEnabled(!programs.isEmpty());
  exitButton->setEnabled(true);
  cancelButton->setEnabled(false);
  confirmButton->setEnabled(false);
}

void ProgramList::activateProgramList() {
  if (!browseMode) return;
  showConditionControls();
  for (QToolButton* b : {newConditionButton, editConditionButton, deleteConditionButton})
    b->setEnabled(false);
  newProgramButton->setEnabled(true);
  editProgramButton->setEnabled(!programs.isEmpty());
  deleteProgramButton->setEnabled(!programs.isEmpty());
  programListActive = true;
  setListColours();
  refreshProgramPanel();
}

void ProgramList::activateConditionList() {
  if (!browseMode) return;
  showConditionControls();
  programListActive = false;
  for (QToolButton* b : {newProgramButton, editProgramButton, deleteProgramButton})
    b->setEnabled(false);
  // Conditions belong to a program: none can be added while there is none.
  newConditionButton->setEnabled(!programs.isEmpty());
  editConditionButton->setEnabled(conditionCount() > 0);
  deleteConditionButton->setEnabled(conditionCount() > 0);
  setListColours();
}

void ProgramList::openEditor(bool newMode) {
  ViewState.ProgramNewMode = newMode;
  lastProgramNo = cellText(programs, QStringLiteral("ProNo"));
  auto child = [this, newMode] {
    if (runEditor) {
      runEditor(*this);
    } else {
      ProgramEditor editor(&programs, &lastProgramNo, this);
      editor.exec();
    }
    programs.refresh();
    programs.locate(QStringLiteral("ProNo"), lastProgramNo, LocateOption::CaseInsensitive);
    programGrid->reload();
    programChanged();
    if (newMode) {
      editProgramButton->setEnabled(!programs.isEmpty());
      deleteProgramButton->setEnabled(!programs.isEmpty());
    }
    refreshProgramPanel();
    showConditionControls();
  };
  runChildHidden(std::move(child));
}

void ProgramList::newProgram() { openEditor(true); }
void ProgramList::editProgram() {
  if (!programs.isEmpty()) openEditor(false);
}

void ProgramList::deleteProgram() {
  if (programs.isEmpty()) return;
  SendSignal(SignalKind::Question);
  statusBar->showMessage(QStringLiteral("【刪除療程模式】"));
  if (AskUser(MsgKind::WarningYesNo, QStringLiteral("您確定要刪除【") +
                                         Trim(cellText(programs, QStringLiteral("ProName"))) +
                                         QStringLiteral("】這筆療程群組嗎 ?"))) {
    QString error;
    if (!DeleteProgram(programs, conditionRows, &error)) AskUser(MsgKind::WarningOk, error);
    programs.refresh();
    programGrid->reload();
    programChanged();
  }
  statusBar->showMessage(kBrowseStatus);
  updateCountLabel();
  editProgramButton->setEnabled(!programs.isEmpty());
  deleteProgramButton->setEnabled(!programs.isEmpty());
  showConditionControls();
}

void ProgramList::newCondition() {
  if (programs.isEmpty()) return;
  editRowKey_ = 0;
  for (QToolButton* b :
       {newProgramButton, editProgramButton, deleteProgramButton, newConditionButton,
        editConditionButton, deleteConditionButton, exitButton})
    b->setEnabled(false);
  cancelButton->setEnabled(true);
  confirmButton->setEnabled(true);
  browseMode = false;
  statusBar->showMessage(QStringLiteral("【新增條件模式】"));
  setEditing(true);
  refreshProgramPanel();
  // The new row shows every position off.
  showConditions(true);
}

void ProgramList::editCondition() {
  if (conditionRows.isEmpty()) return;
  editRowKey_ = conditionRows.bookmark();
  statusBar->showMessage(QStringLiteral("【修改療程模式】"));
  for (QToolButton* b :
       {newProgramButton, editProgramButton, deleteProgramButton, newConditionButton,
        editConditionButton, deleteConditionButton, exitButton})
    b->setEnabled(false);
  cancelButton->setEnabled(true);
  confirmButton->setEnabled(true);
  browseMode = false;
  setEditing(true);
  refreshProgramPanel();
  showConditionControls();
}

void ProgramList::deleteCondition() {
  if (conditionRows.isEmpty()) return;
  SendSignal(SignalKind::Question);
  statusBar->showMessage(QStringLiteral("【刪除條件模式】"));
  if (AskUser(MsgKind::WarningYesNo, QStringLiteral("您確定要刪除【") +
                                         Trim(cellText(conditionRows, QStringLiteral("ProSubN"))) +
                                         QStringLiteral("】這筆條件嗎 ?"))) {
    if (!conditionRows.remove(conditionRows.bookmark()))
      AskUser(MsgKind::WarningOk,
              WriteFailureText(kConditionDeleteFailedText, conditionRows.lastError()));
    conditionGrid->reload();
  }
  statusBar->showMessage(kBrowseStatus);
  updateCountLabel();
  editConditionButton->setEnabled(conditionCount() > 0);
  deleteConditionButton->setEnabled(conditionCount() > 0);
  showConditionControls();
}

void ProgramList::leave() { close(); }

void ProgramList::confirmEdit() {
  if (browseMode) return;
  buildConditionStrings();
  // Typed numbers must be numbers, ages whole ones; the edit stays open to correct them. A
  // number left as it was shown keeps its stored value (a null stays null).
  const QLineEdit* edits[3] = {energyEdit, ageFromEdit, ageToEdit};
  const char* columns[3] = {"ProEng", "ProAGL", "ProAGH"};
  QVariantMap numbers;
  for (int i = 0; i < 3; ++i) {
    const QString t = Trim(edits[i]->text());
    if (editRowKey_ != 0 && t == Trim(shownNumbers_[static_cast<size_t>(i)])) continue;
    bool ok = true;
    double value = 0;
    if (!t.isEmpty()) value = i == 0 ? StrToFloatDef(t, 0, &ok) : t.toInt(&ok);
    // An age past any sane bound ("65536") is no age: it would not even fit the column.
    if (ok && i > 0) ok = AgeBoundFits(value);
    if (!ok) {
      AskUser(MsgKind::WarningOk, QStringLiteral("「%1」不是數字，請重新輸入。").arg(t));
      return;
    }
    numbers.insert(QLatin1String(columns[i]),
                   i == 0 ? QVariant(value) : QVariant(static_cast<qlonglong>(value)));
  }
  TConditionEdit edit;
  edit.rowKey = editRowKey_;
  edit.row = {{QStringLiteral("ProSubN"), conditionNameEdit->text()},
              {QStringLiteral("ProNote"), conditionNoteEdit->text()},
              {QStringLiteral("ProFlg"), requiredBox->isChecked() ? 1 : 0},
              {QStringLiteral("ProCond"), conditionDigits},
              {QStringLiteral("ProAnd"), groupFlags}};
  edit.row.insert(numbers);
  edit.programKey = programs.bookmark();
  edit.programNo = cellText(programs, QStringLiteral("ProNo"));
  // The program's fields go with the row only where the user changed them.
  if (const QStringList lines = TypedMemoLines(descriptionEdit); lines != shownDescription_)
    edit.ProData = ProgramDescriptionText(lines);
  if (pictureChanged_) edit.ProPict = editPict_;
  if (actualSizeBox->isChecked() != programs.field(QStringLiteral("ProScal")).toBool())
    edit.ProScal = actualSizeBox->isChecked();
  QString error;
  if (!SaveConditionEdit(programs, conditionRows, edit, &error)) {
    AskUser(MsgKind::WarningOk, error);
    return;
  }
  const qint64 rowKey = conditionRows.bookmark();
  programGrid->reload();
  browseMode = true;
  programChanged();
  conditionRows.gotoBookmark(rowKey);
  conditionGrid->reload();
  statusBar->showMessage(kBrowseStatus);
  updateCountLabel();
  setEditing(false);
  browseToolbar();
  refreshProgramPanel();
  showConditionControls();
}

void ProgramList::cancelEdit() {
  if (browseMode) return;
  browseMode = true;
  setEditing(false);
  statusBar->showMessage(kBrowseStatus);
  showProgramFields();
  actualSizeBox->setChecked(programs.field(QStringLiteral("ProScal")).toBool());
  programPicture->setScaledContents(!actualSizeBox->isChecked());
  showConditionControls();
  browseToolbar();
}

void ProgramList::pickPicture() {
  const QString path = choosePicture ? choosePicture(this) : QString();
  if (path.isEmpty()) return;
  const QByteArray bytes = ReadProgramPicture(path);
  if (bytes.isEmpty()) return;
  editPict_ = bytes;
  pictureChanged_ = true;
  showPicture(editPict_);
}

void ProgramList::clearPicture() {
  editPict_.clear();
  pictureChanged_ = true;
  showPicture(editPict_);
}

void ProgramList::toggleRange() {
  const bool on = rangeBox->isChecked();
  positionBoxes[1].first->setEnabled(!on);
  positionBoxes[1].second->setEnabled(!on);
  rangeCompareBox->setEnabled(on);
  energyEdit->setEnabled(on);
  energySpin->setEnabled(on);
  if (on && rangeCompareBox->currentIndex() < 0) rangeCompareBox->setCurrentIndex(0);
}

void ProgramList::toggleActualSize() {
  programPicture->setScaledContents(!actualSizeBox->isChecked());
}

void ProgramList::toggleAgeFrom() {
  ageFromEdit->setEnabled(ageFromBox->isChecked());
  ageFromSpin->setEnabled(ageFromBox->isChecked());
}

void ProgramList::toggleAgeTo() {
  ageToEdit->setEnabled(ageToBox->isChecked());
  ageToSpin->setEnabled(ageToBox->isChecked());
}

void ProgramList::toggleSexCondition() {
  maleButton->setEnabled(sexConditionBox->isChecked());
  femaleButton->setEnabled(sexConditionBox->isChecked());
}

void ProgramList::stepEnergy() { energyEdit->setText(QString::number(energySpin->Position())); }

void ProgramList::stepAgeFrom() {
  ageFromEdit->setText(QString::number(ageFromSpin->Position()));
  if (ageToSpin->Position() < ageFromSpin->Position()) {
    ageToSpin->setPosition(ageFromSpin->Position());
    ageToEdit->setText(QString::number(ageToSpin->Position()));
  }
}

void ProgramList::stepAgeTo() {
  ageToEdit->setText(QString::number(ageToSpin->Position()));
  if (ageFromSpin->Position() > ageToSpin->Position()) {
    ageFromSpin->setPosition(ageToSpin->Position());
    ageFromEdit->setText(QString::number(ageFromSpin->Position()));
  }
}

void ProgramList::runProgram(int n) {
  LaunchProgramCommand(programs.database().connectionName(),
                       Trim(cellText(programs, QStringLiteral("ProPrg%1").arg(n))),
                       Trim(cellText(programs, QStringLiteral("ProParm%1").arg(n))));
}

}  // namespace ruto
