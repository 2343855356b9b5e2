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
#include "app/Databases.h"
#include "app/ProgramConditions.h"
#include "app/SharedRecords.h"
#include "app/TransferColumns.h"
#include "app/ui/WindowParts.h"
#include "app/ui/WindowPlacement.h"
#include "base/Numbers.h"
#include "base/Text.h"
#include "device/MeterCommands.h"
#include "records/ProgramRecords.h"
#include "records/ui/ProgramEditor.h"
#include "records/ui/RecordGrid.h"

namespace ruto {

namespace {

const QString kBrowseStatus = QStringLiteral("【查詢療程模式】");

// The check boxes of each position: first (+1), second (+2, 0 for none) and the group flag.
struct PositionBoxes {
  int first, second, group;
  const char* caption;
};
constexpr std::array<PositionBoxes, 23> kBoxes = {
    {{0, 0, 0, ""},          {1, 2, 44, "體能狀態"}, {3, 4, 45, "精神狀態"}, {5, 0, 46, "肌骨系統"},
     {7, 8, 47, "新陳代謝"}, {9, 0, 48, "自律神經"}, {6, 10, 54, "肺經"},    {11, 12, 55, "大腸經"},
     {13, 14, 56, "心包經"}, {15, 16, 57, "三焦經"}, {17, 18, 58, "心經"},   {19, 20, 59, "小腸經"},
     {21, 22, 60, "脾經"},   {23, 24, 61, "胃經"},   {25, 26, 62, "肝經"},   {27, 28, 63, "膽經"},
     {29, 30, 64, "腎經"},   {31, 32, 65, "膀胱經"}, {33, 38, 49, "木"},     {34, 39, 50, "火"},
     {35, 40, 51, "土"},     {36, 41, 52, "金"},     {37, 42, 53, "水"}}};

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
      ADOTable1(kMainConnection, QStringLiteral("VOPRO")),
      ADOTable2(kMainConnection, QStringLiteral("VOPRDT")) {
  setObjectName(QStringLiteral("ProgramList"));
  setWindowTitle(QStringLiteral("自訂專家療程"));
  PlaceOnShow(this, WindowPlace::Owner);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
  ADOTable1.setSort(QStringLiteral("ProNo ASC"));

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  auto* bar = new QToolBar(this);
  ToolButton[1] = addToolButton(bar, 1, QStringLiteral("新增療程"), QStringLiteral("新增一個療程"));
  ToolButton[2] = addToolButton(bar, 2, QStringLiteral("修改療程"), QStringLiteral("修改療程資料"));
  ToolButton[3] =
      addToolButton(bar, 3, QStringLiteral("刪除療程"), QStringLiteral("刪除療程與條件"));
  bar->addSeparator();
  ToolButton[4] = addToolButton(bar, 4, QStringLiteral("新增條件"), QStringLiteral("新增一筆條件"));
  ToolButton[5] = addToolButton(bar, 5, QStringLiteral("修改條件"), QStringLiteral("修改條件資料"));
  ToolButton[6] = addToolButton(bar, 6, QStringLiteral("刪除條件"), QStringLiteral("刪除這筆條件"));
  bar->addSeparator();
  ToolButton[11] =
      addToolButton(bar, 11, QStringLiteral("確認異動"), QStringLiteral("儲存異動資料"));
  ToolButton[10] = addToolButton(bar, 10, QStringLiteral("放  棄"), QStringLiteral("放棄異動資料"));
  bar->addSeparator();
  ToolButton[8] =
      addToolButton(bar, 8, QStringLiteral("離  開"), QStringLiteral("離開專家療程設定"));
  root->addWidget(bar);

  auto* body = new QHBoxLayout;
  body->setContentsMargins(6, 4, 6, 4);
  root->addLayout(body, 1);

  // Lists.
  auto* lists = new QVBoxLayout;
  const auto left = Qt::AlignLeft | Qt::AlignVCenter;
  DBGrid1 = new RecordGrid(
      &ADOTable1,
      {{QStringLiteral("CoNo"), QStringLiteral("Index"), 44, Qt::AlignRight | Qt::AlignVCenter, {}},
       {QStringLiteral("ProNo"), QStringLiteral("療程編號"), 80, left, {}},
       {QStringLiteral("ProName"), QStringLiteral("療程名稱"), 150, left, {}}},
      this);
  DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
  DBGrid2 = new RecordGrid(
      &ADOTable2,
      {{QStringLiteral("CoNo"), QStringLiteral("Index"), 44, Qt::AlignRight | Qt::AlignVCenter, {}},
       {QStringLiteral("ProFlgC"), QStringLiteral("必須"), 40, Qt::AlignCenter, {}},
       {QStringLiteral("ProSubN"), QStringLiteral("條件名稱"), 110, left, {}},
       {QStringLiteral("ProNote"), QStringLiteral("說明"), 120, left, {}}},
      this);
  DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
  for (RecordGrid* g : {DBGrid1, DBGrid2}) g->setMinimumWidth(300);
  DBGrid1->setAccessibleName(QStringLiteral("療程資料"));
  DBGrid2->setAccessibleName(QStringLiteral("條件資料"));
  StaticText4 = new QLabel(this);
  StaticText4->setObjectName(QStringLiteral("StaticText4"));
  lists->addWidget(DBGrid1, 1);
  lists->addWidget(StaticText4);
  lists->addWidget(DBGrid2, 1);
  body->addLayout(lists);

  // Conditions and the program panel. They scroll where the screen is lower than they are,
  // so that the lists' lower rows and the status bar stay on the screen.
  auto* right = new QWidget(this);
  buildConditionGroups(right);
  auto* conditions = new QScrollArea(this);
  conditions->setObjectName(QStringLiteral("ScrollBox1"));
  conditions->setFrameShape(QFrame::NoFrame);
  conditions->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  conditions->setWidgetResizable(true);
  conditions->setWidget(right);
  conditions->setMinimumWidth(right->minimumSizeHint().width() +
                              conditions->verticalScrollBar()->sizeHint().width());
  body->addWidget(conditions, 1);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  root->addWidget(StatusBar1);
  // Tall enough to show the conditions whole; the placement shrinks it to a lower screen.
  resize(sizeHint() +
         QSize(0, std::max(0, right->sizeHint().height() - conditions->sizeHint().height())));

  connect(ToolButton[1], &QToolButton::clicked, this, [this] { ToolButton1Click(); });
  connect(ToolButton[2], &QToolButton::clicked, this, [this] { ToolButton2Click(); });
  connect(ToolButton[3], &QToolButton::clicked, this, [this] { ToolButton3Click(); });
  connect(ToolButton[4], &QToolButton::clicked, this, [this] { ToolButton4Click(); });
  connect(ToolButton[5], &QToolButton::clicked, this, [this] { ToolButton5Click(); });
  connect(ToolButton[6], &QToolButton::clicked, this, [this] { ToolButton6Click(); });
  connect(ToolButton[8], &QToolButton::clicked, this, [this] { ToolButton8Click(); });
  connect(ToolButton[10], &QToolButton::clicked, this, [this] { ToolButton10Click(); });
  connect(ToolButton[11], &QToolButton::clicked, this, [this] { ToolButton11Click(); });
  connect(DBGrid1, &RecordGrid::entered, this, [this] { DBGrid1ColEnter(); });
  connect(DBGrid1, &RecordGrid::colEnter, this, [this] { DBGrid1ColEnter(); });
  connect(DBGrid2, &RecordGrid::entered, this, [this] { DBGrid2ColEnter(); });
  connect(DBGrid2, &RecordGrid::colEnter, this, [this] { DBGrid2ColEnter(); });
  connect(DBGrid1, &RecordGrid::rowChanged, this, [this] { programChanged(); });
  connect(DBGrid2, &RecordGrid::rowChanged, this, [this] {
    if (BrowseMode) ShowConditionControls();
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
  const auto box = [this](QWidget* parent, int n, const QString& caption) {
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(QStringLiteral("CheckBox%1").arg(n));
    CheckBox[static_cast<size_t>(n)] = c;
    return c;
  };
  const auto group = [this](int n, const QString& caption) {
    auto* g = new QGroupBox(caption, this);
    g->setObjectName(QStringLiteral("GroupBox%1").arg(n));
    GroupBox[static_cast<size_t>(n)] = g;
    return g;
  };

  // Program data.
  QGroupBox* g1 = group(1, QStringLiteral("療程資料"));
  auto* l1 = new QGridLayout(g1);
  DBText1 = new QLabel(g1);
  DBText2 = new QLabel(g1);
  DBEdit3 = new QLineEdit(g1);
  DBEdit3->setObjectName(QStringLiteral("DBEdit3"));
  DBEdit3->setMaxLength(TransferColumnWidth(QStringLiteral("VOPRDT"), QStringLiteral("ProSubN")));
  DBEdit4 = new QLineEdit(g1);
  DBEdit4->setObjectName(QStringLiteral("DBEdit4"));
  DBEdit4->setMaxLength(TransferColumnWidth(QStringLiteral("VOPRDT"), QStringLiteral("ProNote")));
  DBCheckBox1 = new QCheckBox(QStringLiteral("必須條件"), g1);
  DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
  l1->addWidget(new QLabel(QStringLiteral("療程編號:"), g1), 0, 0);
  l1->addWidget(DBText1, 0, 1);
  l1->addWidget(new QLabel(QStringLiteral("療程名稱:"), g1), 0, 2);
  l1->addWidget(DBText2, 0, 3);
  l1->addWidget(new QLabel(QStringLiteral("條件名稱:"), g1), 1, 0);
  l1->addWidget(DBEdit3, 1, 1);
  l1->addWidget(DBCheckBox1, 1, 2, 1, 2);
  l1->addWidget(new QLabel(QStringLiteral("條件說明:"), g1), 2, 0);
  l1->addWidget(DBEdit4, 2, 1, 1, 3);
  l1->setColumnStretch(1, 1);
  l1->setColumnStretch(3, 1);
  layout->addWidget(g1, 0, 0, 1, 2);

  // Body and mind, positions 1..5.
  QGroupBox* g2 = group(2, QStringLiteral("體能精神狀態條件"));
  auto* l2 = new QGridLayout(g2);
  const char* firstCaptions[] = {"", "虛弱", "衰弱", "異常", "減弱", "異常"};
  const char* secondCaptions[] = {"", "亢奮", "亢奮", "", "增強", ""};
  for (int p = 1; p <= 5; ++p) {
    const PositionBoxes& b = kBoxes[static_cast<size_t>(p)];
    l2->addWidget(box(g2, b.group, QString::fromUtf8(b.caption)), p - 1, 0);
    l2->addWidget(box(g2, b.first, QString::fromUtf8(firstCaptions[p])), p - 1, 1);
    if (b.second) l2->addWidget(box(g2, b.second, QString::fromUtf8(secondCaptions[p])), p - 1, 2);
  }
  auto* range = new QHBoxLayout;
  range->addWidget(box(g2, 43, QStringLiteral("範圍")));
  ComboBox1 = new QComboBox(g2);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->addItems(
      {QStringLiteral("等於 ="), QStringLiteral("大於 >"), QStringLiteral("小於 <")});
  DBEdit5 = new QLineEdit(g2);
  DBEdit5->setObjectName(QStringLiteral("DBEdit5"));
  DBEdit5->setMaximumWidth(60);
  UpDown1 = new TUpDown(0, 200, g2);
  range->addWidget(ComboBox1);
  range->addWidget(DBEdit5);
  range->addWidget(UpDown1);
  range->addStretch(1);
  l2->addLayout(range, 5, 0, 1, 3);
  layout->addWidget(g2, 1, 0);

  // The twelve meridians, positions 6..17.
  QGroupBox* g3 = group(3, QStringLiteral("個別經絡條件"));
  auto* l3 = new QGridLayout(g3);
  l3->setVerticalSpacing(0);
  for (int p = 6; p <= 17; ++p) {
    const PositionBoxes& b = kBoxes[static_cast<size_t>(p)];
    const int row = (p - 6) % 6, col = (p - 6) / 6 * 3;
    l3->addWidget(box(g3, b.group, QString::fromUtf8(b.caption)), row, col);
    l3->addWidget(box(g3, b.first, QStringLiteral("虛證")), row, col + 1);
    l3->addWidget(box(g3, b.second, QStringLiteral("實證")), row, col + 2);
  }
  layout->addWidget(g3, 1, 1, 2, 1);

  // The five elements, positions 18..22.
  QGroupBox* g4 = group(4, QStringLiteral("五行條件"));
  auto* l4 = new QGridLayout(g4);
  l4->setVerticalSpacing(0);
  for (int p = 18; p <= 22; ++p) {
    const PositionBoxes& b = kBoxes[static_cast<size_t>(p)];
    l4->addWidget(box(g4, b.group, QString::fromUtf8(b.caption)), p - 18, 0);
    l4->addWidget(box(g4, b.first, QStringLiteral("虛證")), p - 18, 1);
    l4->addWidget(box(g4, b.second, QStringLiteral("實證")), p - 18, 2);
  }
  layout->addWidget(g4, 2, 0);

  // Age and sex.
  QGroupBox* g5 = group(5, QStringLiteral("年齡條件"));
  auto* l5 = new QGridLayout(g5);
  DBEdit1 = new QLineEdit(g5);
  DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
  DBEdit2 = new QLineEdit(g5);
  DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
  for (QLineEdit* e : {DBEdit1, DBEdit2}) e->setMaximumWidth(50);
  UpDown2 = new TUpDown(0, 100, g5);
  UpDown3 = new TUpDown(0, 100, g5);
  l5->addWidget(box(g5, 67, QStringLiteral("大於等於")), 0, 0);
  l5->addWidget(DBEdit1, 0, 1);
  l5->addWidget(UpDown2, 0, 2);
  l5->addWidget(box(g5, 68, QStringLiteral("小於等於")), 0, 3);
  l5->addWidget(DBEdit2, 0, 4);
  l5->addWidget(UpDown3, 0, 5);
  l5->addWidget(box(g5, 69, QStringLiteral("性別條件")), 1, 0);
  RadioButton1 = new QRadioButton(QStringLiteral("男性"), g5);
  RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
  RadioButton2 = new QRadioButton(QStringLiteral("女性"), g5);
  RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
  RadioButton1->setChecked(true);
  l5->addWidget(RadioButton1, 1, 1, 1, 2);
  l5->addWidget(RadioButton2, 1, 3, 1, 2);
  l5->setColumnStretch(6, 1);
  layout->addWidget(g5, 3, 0, 1, 2);

  // The program: description, picture, run buttons.
  auto* panel = new QHBoxLayout;
  DBMemo1 = new QPlainTextEdit(this);
  DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
  DBMemo1->setAccessibleName(QStringLiteral("療程說明"));
  DBMemo1->setMinimumHeight(110);
  panel->addWidget(DBMemo1, 2);
  auto* pictureColumn = new QVBoxLayout;
  DBImage1 = new QLabel(this);
  DBImage1->setObjectName(QStringLiteral("DBImage1"));
  DBImage1->setFixedSize(140, 105);
  DBImage1->setFrameShape(QFrame::Box);
  DBImage1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  pictureColumn->addWidget(DBImage1);
  auto* pictureButtons = new QHBoxLayout;
  BitBtn1 = new QPushButton(QStringLiteral("異動"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setToolTip(QStringLiteral("Modify Picture Database"));
  BitBtn2 = new QPushButton(QStringLiteral("X"), this);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  BitBtn2->setToolTip(QStringLiteral("Clear The Picture"));
  box(this, 66, QStringLiteral("1 : 1"));
  CheckBox[66]->setToolTip(QStringLiteral("Scaled  1 : 1"));
  pictureButtons->addWidget(BitBtn1);
  pictureButtons->addWidget(BitBtn2);
  pictureButtons->addWidget(CheckBox[66]);
  pictureColumn->addLayout(pictureButtons);
  panel->addLayout(pictureColumn);
  layout->addLayout(panel, 4, 0, 1, 2);

  auto* keys = new QHBoxLayout;
  keys->addWidget(new QLabel(QStringLiteral("自訂功能鍵："), this));
  for (int n = 1; n <= 4; ++n) {
    auto* b = new QToolButton(this);
    b->setObjectName(QStringLiteral("SpeedButton%1").arg(n));
    b->setText(QString::number(n));
    b->setMinimumWidth(40);
    SpeedButton[static_cast<size_t>(n)] = b;
    connect(b, &QToolButton::clicked, this, [this, n] { runButton(n); });
    keys->addWidget(b);
  }
  keys->addStretch(1);
  layout->addLayout(keys, 5, 0, 1, 2);

  connect(CheckBox[43], &QCheckBox::clicked, this, [this] { CheckBox43Click(); });
  connect(CheckBox[66], &QCheckBox::clicked, this, [this] { CheckBox66Click(); });
  connect(CheckBox[67], &QCheckBox::clicked, this, [this] { CheckBox67Click(); });
  connect(CheckBox[68], &QCheckBox::clicked, this, [this] { CheckBox68Click(); });
  connect(CheckBox[69], &QCheckBox::clicked, this, [this] { CheckBox69Click(); });
  connect(UpDown1, &TUpDown::clicked, this, [this] { UpDown1Click(); });
  connect(UpDown2, &TUpDown::clicked, this, [this] { UpDown2Click(); });
  connect(UpDown3, &TUpDown::clicked, this, [this] { UpDown3Click(); });
  connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
  connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
}

void ProgramList::closeEvent(QCloseEvent* event) {
  FormClose();
  QDialog::closeEvent(event);
}

void ProgramList::FormShow() {
  for (int n : {4, 5, 6, 10, 11}) ToolButton[static_cast<size_t>(n)]->setEnabled(false);
  ADOTable1.open();
  programChanged();
  DBGrid1->reload();
  BrowseMode = true;
  ProgramListActive = true;
  setListColours();
  setEditing(false);
  UpdateCountLabel();
  RefreshProgramPanel();
  ToolButton[2]->setEnabled(!ADOTable1.isEmpty());
  ToolButton[3]->setEnabled(!ADOTable1.isEmpty());
  StatusBar1->showMessage(kBrowseStatus);
  ShowConditionControls();
}

void ProgramList::FormClose() {
  ADOTable1.close();
  ADOTable2.close();
}

// The condition list follows the current program.
void ProgramList::programChanged() {
  ADOTable2.setLink(QStringLiteral("ProNo"), ADOTable1.isEmpty()
                                                 ? QVariant(QStringLiteral("\x01"))
                                                 : ADOTable1.field(QStringLiteral("ProNo")));
  if (ADOTable2.isOpen())
    ADOTable2.refresh();
  else
    ADOTable2.open();
  ADOTable2.first();
  DBGrid2->reload();
  showProgramFields();
  RefreshProgramPanel();
  UpdateCountLabel();
  if (BrowseMode) {
    ShowConditionControls();
    if (!ProgramListActive) {
      ToolButton[5]->setEnabled(conditionCount() > 0);
      ToolButton[6]->setEnabled(conditionCount() > 0);
    }
  }
}

void ProgramList::showProgramFields() {
  DBText1->setText(cellText(ADOTable1, QStringLiteral("ProNo")));
  DBText2->setText(cellText(ADOTable1, QStringLiteral("ProName")));
  DBMemo1->setPlainText(cellText(ADOTable1, QStringLiteral("ProData")));
  editPict_ = ADOTable1.field(QStringLiteral("ProPict")).toByteArray();
  showPicture(editPict_);
}

void ProgramList::showPicture(const QByteArray& bytes) {
  QPixmap picture;
  if (!bytes.isEmpty()) picture.loadFromData(bytes);
  DBImage1->setPixmap(picture);
}

void ProgramList::setEditing(bool editing) {
  DBGrid1->setEnabled(!editing);
  DBGrid2->setEnabled(!editing);
  for (QWidget* w : {static_cast<QWidget*>(DBMemo1), static_cast<QWidget*>(DBEdit3),
                     static_cast<QWidget*>(DBEdit4)})
    w->setProperty("readOnly", !editing);
  for (int n = 1; n <= 5; ++n) GroupBox[static_cast<size_t>(n)]->setEnabled(editing);
  BitBtn1->setEnabled(editing);
  BitBtn2->setEnabled(editing);
  CheckBox[66]->setEnabled(editing);
}

void ProgramList::setListColours() {
  const QColor active(0xFF, 0xB0, 0x80);
  const QColor face = palette().color(QPalette::Button);
  for (auto [grid, on] :
       {std::pair{DBGrid1, ProgramListActive}, std::pair{DBGrid2, !ProgramListActive}})
    for (QHeaderView* h : {grid->horizontalHeader(), grid->verticalHeader()}) {
      QPalette p = h->palette();
      p.setColor(QPalette::Button, on ? active : face);
      h->setPalette(p);
    }
}

void ProgramList::RefreshProgramPanel() {
  const bool scaled = ADOTable1.field(QStringLiteral("ProScal")).toBool();
  CheckBox[66]->setChecked(scaled);
  DBImage1->setScaledContents(!scaled);
  const QString fn = cellText(ADOTable1, QStringLiteral("ProFN"));
  for (int n = 1; n <= 4; ++n) {
    SpeedButton[static_cast<size_t>(n)]->setEnabled(FunctionKeyEnabled(fn, n));
    SpeedButton[static_cast<size_t>(n)]->setToolTip(
        cellText(ADOTable1, QStringLiteral("ProScrp%1").arg(n)));
  }
}

void ProgramList::UpdateCountLabel() {
  StaticText4->setText(ProgramCountText(ADOTable1.rowCount(), conditionCount()));
}

void ProgramList::ShowConditionControls() { showConditions(ADOTable2.isEmpty()); }

void ProgramList::showConditions(bool blank) {
  const auto field = [&](const QString& column) {
    return blank ? QVariant() : ADOTable2.field(column);
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
  ConditionDigits = ConditionText(cond);
  GroupFlags = ConditionText(flags);
  DBEdit3->setText(text(QStringLiteral("ProSubN")));
  DBEdit4->setText(text(QStringLiteral("ProNote")));
  DBCheckBox1->setChecked(field(QStringLiteral("ProFlg")).toBool());
  DBEdit5->setText(hasRow ? shortestText(eng) : QString());
  DBEdit1->setText(hasRow ? shortestText(agl) : QString());
  DBEdit2->setText(hasRow ? shortestText(agh) : QString());
  UpDown1->setPosition(SpinPosition(eng, 200));
  UpDown2->setPosition(SpinPosition(agl, 100));
  UpDown3->setPosition(SpinPosition(agh, 100));

  const TConditionForm f = DecodeConditions(cond, flags);
  for (int p = 1; p <= 22; ++p) {
    const PositionBoxes& b = kBoxes[static_cast<size_t>(p)];
    CheckBox[static_cast<size_t>(b.first)]->setChecked(f.First[p]);
    if (b.second) CheckBox[static_cast<size_t>(b.second)]->setChecked(f.Second[p]);
    CheckBox[static_cast<size_t>(b.group)]->setChecked(f.Group[p]);
  }
  CheckBox[43]->setChecked(f.Range);
  CheckBox[1]->setEnabled(!f.Range);
  CheckBox[2]->setEnabled(!f.Range);
  ComboBox1->setEnabled(f.Range);
  DBEdit5->setEnabled(f.Range);
  UpDown1->setEnabled(f.Range);
  ComboBox1->setCurrentIndex(f.RangeIndex);
  CheckBox[67]->setChecked(f.AgeLow);
  CheckBox[68]->setChecked(f.AgeHigh);
  DBEdit1->setEnabled(f.AgeLow);
  UpDown2->setEnabled(f.AgeLow);
  DBEdit2->setEnabled(f.AgeHigh);
  UpDown3->setEnabled(f.AgeHigh);
  CheckBox[69]->setChecked(f.SexCondition);
  RadioButton1->setEnabled(f.SexCondition);
  RadioButton2->setEnabled(f.SexCondition);
  if (f.SexCondition) (f.Male ? RadioButton1 : RadioButton2)->setChecked(true);
}

void ProgramList::BuildConditionStrings() {
  TConditionForm f;
  for (int p = 1; p <= 22; ++p) {
    const PositionBoxes& b = kBoxes[static_cast<size_t>(p)];
    f.First[p] = CheckBox[static_cast<size_t>(b.first)]->isChecked();
    f.Second[p] = b.second && CheckBox[static_cast<size_t>(b.second)]->isChecked();
    f.Group[p] = CheckBox[static_cast<size_t>(b.group)]->isChecked();
  }
  f.Range = CheckBox[43]->isChecked();
  f.RangeIndex = ComboBox1->currentIndex();
  f.AgeLow = CheckBox[67]->isChecked();
  f.AgeHigh = CheckBox[68]->isChecked();
  f.SexCondition = CheckBox[69]->isChecked();
  f.Male = RadioButton1->isChecked();
  const auto [digits, flags] = EncodeConditions(f);
  ConditionDigits = digits;
  GroupFlags = flags;
}

void ProgramList::browseToolbar() {
  const bool rows = conditionCount() > 0;
  ToolButton[5]->setEnabled(rows);
  ToolButton[6]->setEnabled(rows);
  ToolButton[4]->setEnabled(!ADOTable1.isEmpty());
  ToolButton[8]->setEnabled(true);
  ToolButton[10]->setEnabled(false);
  ToolButton[11]->setEnabled(false);
}

void ProgramList::DBGrid1ColEnter() {
  if (!BrowseMode) return;
  ShowConditionControls();
  for (int n : {4, 5, 6}) ToolButton[static_cast<size_t>(n)]->setEnabled(false);
  ToolButton[1]->setEnabled(true);
  ToolButton[2]->setEnabled(!ADOTable1.isEmpty());
  ToolButton[3]->setEnabled(!ADOTable1.isEmpty());
  ProgramListActive = true;
  setListColours();
  RefreshProgramPanel();
}

void ProgramList::DBGrid2ColEnter() {
  if (!BrowseMode) return;
  ShowConditionControls();
  ProgramListActive = false;
  for (int n : {1, 2, 3}) ToolButton[static_cast<size_t>(n)]->setEnabled(false);
  // Conditions belong to a program: none can be added while there is none.
  ToolButton[4]->setEnabled(!ADOTable1.isEmpty());
  ToolButton[5]->setEnabled(conditionCount() > 0);
  ToolButton[6]->setEnabled(conditionCount() > 0);
  setListColours();
}

void ProgramList::openEditor(bool newMode) {
  ViewState.ProgramNewMode = newMode;
  LastProgramNo = cellText(ADOTable1, QStringLiteral("ProNo"));
  auto child = [this, newMode] {
    if (runEditor) {
      runEditor(*this);
    } else {
      ProgramEditor editor(&ADOTable1, &LastProgramNo, this);
      editor.exec();
    }
    ADOTable1.refresh();
    ADOTable1.locate(QStringLiteral("ProNo"), LastProgramNo, LocateOption::CaseInsensitive);
    DBGrid1->reload();
    programChanged();
    if (newMode) {
      ToolButton[2]->setEnabled(!ADOTable1.isEmpty());
      ToolButton[3]->setEnabled(!ADOTable1.isEmpty());
    }
    RefreshProgramPanel();
    ShowConditionControls();
  };
  runChildHidden(std::move(child));
}

void ProgramList::ToolButton1Click() { openEditor(true); }
void ProgramList::ToolButton2Click() {
  if (!ADOTable1.isEmpty()) openEditor(false);
}

void ProgramList::ToolButton3Click() {
  if (ADOTable1.isEmpty()) return;
  SendSignal(SignalKind::Question);
  StatusBar1->showMessage(QStringLiteral("【刪除療程模式】"));
  if (AskUser(MsgKind::WarningYesNo, QStringLiteral("您確定要刪除【") +
                                         Trim(cellText(ADOTable1, QStringLiteral("ProName"))) +
                                         QStringLiteral("】這筆療程群組嗎 ?"))) {
    QString error;
    if (!DeleteProgram(ADOTable1, ADOTable2, &error))
      AskUser(MsgKind::WarningOk,
              QStringLiteral("專家療程資料無法刪除，資料庫中的資料保持原狀。\n") + error);
    ADOTable1.refresh();
    DBGrid1->reload();
    programChanged();
  }
  StatusBar1->showMessage(kBrowseStatus);
  UpdateCountLabel();
  ToolButton[2]->setEnabled(!ADOTable1.isEmpty());
  ToolButton[3]->setEnabled(!ADOTable1.isEmpty());
  ShowConditionControls();
}

void ProgramList::ToolButton4Click() {
  if (ADOTable1.isEmpty()) return;
  editRowKey_ = 0;
  for (int n : {1, 2, 3, 4, 5, 6, 8}) ToolButton[static_cast<size_t>(n)]->setEnabled(false);
  ToolButton[10]->setEnabled(true);
  ToolButton[11]->setEnabled(true);
  BrowseMode = false;
  StatusBar1->showMessage(QStringLiteral("【新增條件模式】"));
  setEditing(true);
  RefreshProgramPanel();
  // The new row shows every position off.
  showConditions(true);
}

void ProgramList::ToolButton5Click() {
  if (ADOTable2.isEmpty()) return;
  editRowKey_ = ADOTable2.bookmark();
  StatusBar1->showMessage(QStringLiteral("【修改療程模式】"));
  for (int n : {1, 2, 3, 4, 5, 6, 8}) ToolButton[static_cast<size_t>(n)]->setEnabled(false);
  ToolButton[10]->setEnabled(true);
  ToolButton[11]->setEnabled(true);
  BrowseMode = false;
  setEditing(true);
  RefreshProgramPanel();
  ShowConditionControls();
}

void ProgramList::ToolButton6Click() {
  if (ADOTable2.isEmpty()) return;
  SendSignal(SignalKind::Question);
  StatusBar1->showMessage(QStringLiteral("【刪除條件模式】"));
  if (AskUser(MsgKind::WarningYesNo, QStringLiteral("您確定要刪除【") +
                                         Trim(cellText(ADOTable2, QStringLiteral("ProSubN"))) +
                                         QStringLiteral("】這筆條件嗎 ?"))) {
    if (!ADOTable2.remove(ADOTable2.bookmark()))
      AskUser(MsgKind::WarningOk,
              QStringLiteral("療程條件資料無法刪除，資料庫中的資料保持原狀。\n") +
                  ADOTable2.lastError());
    DBGrid2->reload();
  }
  StatusBar1->showMessage(kBrowseStatus);
  UpdateCountLabel();
  ToolButton[5]->setEnabled(conditionCount() > 0);
  ToolButton[6]->setEnabled(conditionCount() > 0);
  ShowConditionControls();
}

void ProgramList::ToolButton8Click() { close(); }

void ProgramList::ToolButton11Click() {
  if (BrowseMode) return;
  BuildConditionStrings();
  // Typed numbers must be numbers; the edit stays open to correct them.
  double numbers[3] = {0, 0, 0};
  const QLineEdit* edits[3] = {DBEdit5, DBEdit1, DBEdit2};
  for (int i = 0; i < 3; ++i) {
    const QString t = Trim(edits[i]->text());
    bool ok = true;
    if (!t.isEmpty()) numbers[i] = StrToFloatDef(t, 0, &ok);
    // An age past any sane bound ("1e300") is no age: it would not even fit the column.
    if (ok && i > 0) ok = AgeBoundFits(numbers[i]);
    if (!ok) {
      AskUser(MsgKind::WarningOk, QStringLiteral("「%1」不是數字，請重新輸入。").arg(t));
      return;
    }
  }
  TConditionEdit edit;
  edit.rowKey = editRowKey_;
  edit.row = {{QStringLiteral("ProSubN"), DBEdit3->text()},
              {QStringLiteral("ProNote"), DBEdit4->text()},
              {QStringLiteral("ProFlg"), DBCheckBox1->isChecked() ? 1 : 0},
              {QStringLiteral("ProCond"), ConditionDigits},
              {QStringLiteral("ProAnd"), GroupFlags},
              {QStringLiteral("ProEng"), numbers[0]},
              {QStringLiteral("ProAGL"), static_cast<qlonglong>(numbers[1])},
              {QStringLiteral("ProAGH"), static_cast<qlonglong>(numbers[2])}};
  edit.programKey = ADOTable1.bookmark();
  edit.programNo = cellText(ADOTable1, QStringLiteral("ProNo"));
  edit.ProData = DBMemo1->toPlainText();
  edit.ProPict = editPict_;
  edit.ProScal = CheckBox[66]->isChecked();
  QString error;
  if (!SaveConditionEdit(ADOTable1, ADOTable2, edit, &error)) {
    AskUser(MsgKind::WarningOk, error);
    return;
  }
  const qint64 rowKey = ADOTable2.bookmark();
  DBGrid1->reload();
  BrowseMode = true;
  programChanged();
  ADOTable2.gotoBookmark(rowKey);
  DBGrid2->reload();
  StatusBar1->showMessage(kBrowseStatus);
  UpdateCountLabel();
  setEditing(false);
  browseToolbar();
  RefreshProgramPanel();
  ShowConditionControls();
}

void ProgramList::ToolButton10Click() {
  if (BrowseMode) return;
  BrowseMode = true;
  setEditing(false);
  StatusBar1->showMessage(kBrowseStatus);
  showProgramFields();
  CheckBox[66]->setChecked(ADOTable1.field(QStringLiteral("ProScal")).toBool());
  DBImage1->setScaledContents(!CheckBox[66]->isChecked());
  ShowConditionControls();
  browseToolbar();
}

void ProgramList::BitBtn1Click() {
  const QString path = choosePicture ? choosePicture(this) : QString();
  if (path.isEmpty()) return;
  const QByteArray bytes = ReadProgramPicture(path);
  if (bytes.isEmpty()) return;
  editPict_ = bytes;
  showPicture(editPict_);
}

void ProgramList::BitBtn2Click() {
  editPict_.clear();
  showPicture(editPict_);
}

void ProgramList::CheckBox43Click() {
  const bool on = CheckBox[43]->isChecked();
  CheckBox[1]->setEnabled(!on);
  CheckBox[2]->setEnabled(!on);
  ComboBox1->setEnabled(on);
  DBEdit5->setEnabled(on);
  UpDown1->setEnabled(on);
  if (on && ComboBox1->currentIndex() < 0) ComboBox1->setCurrentIndex(0);
}

void ProgramList::CheckBox66Click() { DBImage1->setScaledContents(!CheckBox[66]->isChecked()); }

void ProgramList::CheckBox67Click() {
  DBEdit1->setEnabled(CheckBox[67]->isChecked());
  UpDown2->setEnabled(CheckBox[67]->isChecked());
}

void ProgramList::CheckBox68Click() {
  DBEdit2->setEnabled(CheckBox[68]->isChecked());
  UpDown3->setEnabled(CheckBox[68]->isChecked());
}

void ProgramList::CheckBox69Click() {
  RadioButton1->setEnabled(CheckBox[69]->isChecked());
  RadioButton2->setEnabled(CheckBox[69]->isChecked());
}

void ProgramList::UpDown1Click() { DBEdit5->setText(QString::number(UpDown1->Position())); }

void ProgramList::UpDown2Click() {
  DBEdit1->setText(QString::number(UpDown2->Position()));
  if (UpDown3->Position() < UpDown2->Position()) {
    UpDown3->setPosition(UpDown2->Position());
    DBEdit2->setText(QString::number(UpDown3->Position()));
  }
}

void ProgramList::UpDown3Click() {
  DBEdit2->setText(QString::number(UpDown3->Position()));
  if (UpDown2->Position() > UpDown3->Position()) {
    UpDown2->setPosition(UpDown3->Position());
    DBEdit1->setText(QString::number(UpDown2->Position()));
  }
}

void ProgramList::runButton(int n) {
  LaunchProgramCommand(ADOTable1.database().connectionName(),
                       Trim(cellText(ADOTable1, QStringLiteral("ProPrg%1").arg(n))),
                       Trim(cellText(ADOTable1, QStringLiteral("ProParm%1").arg(n))));
}

void ProgramList::SpeedButton1Click() { runButton(1); }
void ProgramList::SpeedButton2Click() { runButton(2); }
void ProgramList::SpeedButton3Click() { runButton(3); }
void ProgramList::SpeedButton4Click() { runButton(4); }

}  // namespace ruto
