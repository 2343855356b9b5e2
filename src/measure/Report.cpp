#include "measure/Report.h"

#include <QFile>
#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "base/DateTime.h"
#include "base/Numbers.h"
#include "base/Text.h"

namespace ruto {

namespace {

int rnd(double x) { return nearInt(x); }

// Print choice positions.
enum : int {
  kDetailed = 1,
  kTable = 2,
  kBar = 3,
  kSummary = 4,
  kDiagnosis = 5,
  kDiet = 6,
  kPrograms = 7,
  kCurve = 8,
  kTreatment = 11,
  kGenerating = 12,
  kControlling = 13,
  kPrescriptions = 14,
  kRyodorakuText = 15,
  kRemedyText = 16,
  kColour = 17,
  kSmallType = 18,
  kRyodoraku = 19,
  kAutonomic = 20,
};

QStringList paragraphs(const QString& text) {
  QString t = text;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t.split(QLatin1Char('\n'));
}

QString rightTrimmed(QString s) {
  while (!s.isEmpty() && s.back().isSpace()) s.chop(1);
  return s;
}

// The printed verdicts, with full-width commas (the summary page has its own texts).
const QStringList& printedVerdicts(int item) {
  static const QStringList texts[5] = {
      {"體能狀況低落，元氣不足", "體能精氣狀態稍弱", "體能元氣狀態偏虛，但仍屬正常",
       "體能及元氣狀態正常", "體能狀態偏旺，但仍在正常範圍", "體能狀態略有亢奮現象",
       "體能狀態亢奮，活動力旺盛"},
      {"下焦氣血旺盛，有明顯精神衰弱傾向", "上焦氣血不足，有中度精神衰弱傾向",
       "上焦氣血偏虛，精神活動力略降", "上下焦氣血平衡，精神活動力正常",
       "上焦氣血略旺，有輕微精神壓力傾向", "上盛下衰，有中度精神壓力傾向",
       "上焦氣血旺盛，有明顯精神壓力傾向"},
      {"左側氣血衰弱，肌肉骨骼系統有明顯運作不良", "右側氣血旺盛，肌骨系統運作失調",
       "右側氣血略旺，肌骨系統運作稍微失衡", "左右氣血平衡，肌肉骨骼系統運作正常",
       "左右稍微失衡，肌骨系統稍有障礙", "左盛右衰，肌骨系統功能障礙",
       "右側氣血衰弱，肌肉骨骼系統運作有明顯障礙"},
      {"陽腑盛於陰臟，機體代謝功能異常增加", "陽盛於陰，機體代謝功能增加", "陽盛於陰，機體代謝稍快",
       "陰陽平衡，機體代謝功能正常", "陰盛於陽，機體代謝稍低", "陰盛於陽，機體代謝功能降低",
       "陰臟盛於陽腑，機體代謝功能異常不足"},
      {"全身自律神經系統功能正常", "自律神經系統有輕微失衡現象", "自律神經系統有中度失衡傾象",
       "有明顯自律神經系統失衡傾象"}};
  return texts[item];
}

QString printedVerdict(int item, int level) {
  const QStringList& texts = printedVerdicts(item);
  const int index = item == SummaryAutonomic ? level : level + 3;
  return index >= 0 && index < texts.size() ? texts[index] : QString();
}

}  // namespace

// ---- wrapping ----

QStringList wrapLines(const QString& text, int width, const QFont& font) {
  QStringList out;
  for (const QString& para : paragraphs(text)) {
    if (para.isEmpty()) {
      out << QString();
      continue;
    }
    QTextLayout layout(para, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width);
      out << rightTrimmed(para.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
  }
  return out;
}

QStringList wrapLines(const QString& text, int width,
                      const std::function<int(const QString&)>& measure) {
  QStringList out;
  for (const QString& para : paragraphs(text)) {
    if (para.isEmpty()) {
      out << QString();
      continue;
    }
    // Break opportunities of the Unicode line-breaking rules.
    std::vector<int> breaks;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, para);
    for (int b = static_cast<int>(finder.toNextBoundary()); b > 0 && b <= para.size();
         b = static_cast<int>(finder.toNextBoundary()))
      breaks.push_back(b);
    int start = 0;
    while (start < para.size()) {
      int end = -1;
      for (int b : breaks) {
        if (b <= start) continue;
        if (measure(rightTrimmed(para.mid(start, b - start))) <= width)
          end = b;
        else
          break;
      }
      if (end < 0) {
        // One word wider than the line: as many characters as fit, at least one.
        end = start + 1;
        while (end < para.size() && measure(para.mid(start, end + 1 - start)) <= width) ++end;
      }
      out << rightTrimmed(para.mid(start, end - start));
      start = end;
    }
  }
  return out;
}

// ---- targets ----

bool TRecordingTarget::begin(const QString& title) {
  if (!CanBegin) return false;
  Title = title;
  Began = true;
  Pages = 1;
  return true;
}

void TRecordingTarget::newPage() {
  ++Pages;
  RecordingCanvas::Entry e;
  e.Op = QStringLiteral("NewPage");
  Recording.Entries.push_back(e);
}

TPagedDeviceTarget::TPagedDeviceTarget(QPagedPaintDevice* device,
                                       std::function<void(const QString&)> setTitle,
                                       std::function<void(bool)> closed, QString outputFile)
    : device_(device),
      setTitle_(std::move(setTitle)),
      closed_(std::move(closed)),
      outputFile_(std::move(outputFile)) {}

TPagedDeviceTarget::~TPagedDeviceTarget() {
  canvas_.reset();
  if (painter_ && painter_->isActive()) painter_->end();
}

bool TPagedDeviceTarget::begin(const QString& title) {
  if (setTitle_) setTitle_(title);
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(device_)) {
    painter_.reset();
    if (setTitle_) setTitle_(QString());
    return false;
  }
  canvas_ = std::make_unique<QPainterCanvas>(painter_.get());
  return true;
}

int TPagedDeviceTarget::dpiX() const { return device_->logicalDpiX(); }
int TPagedDeviceTarget::pageWidth() const { return device_->width(); }
int TPagedDeviceTarget::pageHeight() const { return device_->height(); }

void TPagedDeviceTarget::newPage() {
  if (painter_) device_->newPage();
}

void TPagedDeviceTarget::close(bool completed) {
  canvas_.reset();
  // Ending the painter finishes the document: only then may it go anywhere.
  if (painter_ && painter_->isActive()) painter_->end();
  painter_.reset();
  if (!completed && !outputFile_.isEmpty()) QFile::remove(outputFile_);
  if (closed_) closed_(completed);
  if (setTitle_) setTitle_(QString());
}

void TPagedDeviceTarget::end() { close(true); }

void TPagedDeviceTarget::abort() { close(false); }

// ---- the report ----

TReport::TReport(TReportTarget& target, TReportInput input)
    : target_(target), in_(std::move(input)) {}

int TReport::MmToPx(double mm) const { return rnd(target_.dpiX() * mm / 25.4); }

TColor TReport::PrintColor(TColor color) const { return option(kColour) ? color : clBlack; }

bool TReport::Begin() {
  fontSize_ = option(kSmallType) ? 8 : 10;
  ViewState.ReportFontSize = fontSize_;
  if (!wrap_) {
    TFont memoFont;
    memoFont.Name = in_.FontName;
    memoFont.Size = fontSize_;
    const QFont font = toQFont(memoFont, 96);
    wrap_ = [font](const QString& text) { return wrapLines(text, kReportMemoWidth, font); };
  }
  if (!target_.begin(DocumentName())) return false;
  begun_ = true;
  page_ = 1;
  PrintPageWidth = std::min(target_.pageWidth(), 8 * target_.dpiX());
  PrintY = MmToPx(10);

  Canvas& cv = c();
  cv.Font = TFont{};
  cv.Font.Name = in_.FontName;
  cv.Font.Size = fontSize_;
  cv.Font.Color = clBlack;
  cv.Brush.Style = TBrushStyle::bsClear;
  PrintLineHeight = MmToPx(1) + cv.TextHeight(QStringLiteral("X"));

  chartPrint_.Dpi = target_.dpiX();
  chartPrint_.LineHeight = PrintLineHeight;
  chartPrint_.Color = option(kColour);

  steps_.push_back([this] { PrintHeader(); });
  steps_.push_back([this] { PrintClientInfo(); });
  const std::pair<int, void (TReport::*)()> sections[] = {
      {kTable, &TReport::PrintMeasurementTable},
      {kBar, &TReport::PrintBarChart},
      {kCurve, &TReport::PrintCurveChart},
      {kGenerating, &TReport::PrintGeneratingChart},
      {kControlling, &TReport::PrintControllingChart},
      {kRyodoraku, &TReport::PrintRyodorakuChart},
      {kAutonomic, &TReport::PrintAutonomicChart},
      {kSummary, &TReport::PrintBodyStateSummary},
      {kDiagnosis, &TReport::PrintMeridianDiagnosis},
      {kTreatment, &TReport::PrintTreatmentRecord},
      {kPrescriptions, &TReport::PrintPrescriptionAdvice},
      {kDiet, &TReport::PrintDietAdvice},
      {kPrograms, &TReport::PrintExpertPrograms}};
  for (const auto& section : sections)
    if (option(section.first))
      steps_.push_back([this, print = section.second] { (this->*print)(); });
  return true;
}

bool TReport::Step() {
  if (!begun_ || aborted_ || finished_) return false;
  if (steps_.empty()) {
    finish();
    return false;
  }
  auto step = std::move(steps_.front());
  steps_.pop_front();
  step();
  return !aborted_;
}

void TReport::RunAll() {
  while (Step()) {
  }
}

void TReport::Abort() {
  if (!begun_ || aborted_ || finished_) return;
  aborted_ = true;
  steps_.clear();
  target_.abort();
}

void TReport::finish() {
  finished_ = true;
  target_.end();
}

void TReport::later(std::vector<std::function<void()>> items) {
  for (auto it = items.rbegin(); it != items.rend(); ++it) steps_.push_front(std::move(*it));
}

void TReport::pageLabel() {
  Canvas& cv = c();
  cv.Font.Color = clBlack;
  const QString label = "第" + Format("%4d", {page_}) + " 頁";
  cv.TextOut(PrintPageWidth - (cv.TextWidth(label) + 20), 20, label);
}

void TReport::breakPage() {
  PrintY = MmToPx(10);
  if (aborted_) return;
  target_.newPage();
  ++page_;
  pageLabel();
}

void TReport::NewLine() {
  PrintY += PrintLineHeight;
  if (target_.pageHeight() - MmToPx(15) < PrintY) breakPage();
}

void TReport::PrintLine(const QString& text) {
  if (aborted_) return;
  c().TextOut(MmToPx(10), PrintY, text);
  NewLine();
}

void TReport::centred(const QString& text) {
  Canvas& cv = c();
  cv.TextOut(PrintPageWidth / 2 - cv.TextWidth(text) / 2, PrintY, text);
}

void TReport::PrintHeader() {
  Canvas& cv = c();
  cv.Font.Name = in_.FontName;
  cv.Brush.Style = TBrushStyle::bsClear;
  cv.Font.Size = fontSize_;
  if (!aborted_) pageLabel();

  cv.Font.Color = clBlack;
  cv.Font.Size = fontSize_ + 4;
  centred(Trim(in_.UserName2).isEmpty() ? QStringLiteral("R.U.T.O.經絡能量分析儀分析報表")
                                        : in_.UserName2);
  PrintY += MmToPx(4) + PrintLineHeight;

  cv.Font.Color = PrintColor(clBlue);
  cv.Font.Size = fontSize_ + 2;
  centred(in_.UserData1);
  PrintY += PrintLineHeight;
  centred(in_.UserData2);

  cv.Font.Color = clBlack;
  cv.Font.Size = fontSize_;
  // An undated test prints its labels alone.
  const bool dated = in_.Test.VoDate != 0;
  const QString date = "測量日期: " + (dated ? formatOleDate(in_.Test.VoDate) : QString());
  const int dateX = PrintPageWidth - MmToPx(10) - cv.TextWidth(date);
  cv.TextOut(dateX, PrintY, date);
  PrintY += PrintLineHeight;
  cv.TextOut(dateX, PrintY, "測量時間: " + (dated ? formatOleTime(in_.Test.VoDate) : QString()));
  cv.Font.Color = PrintColor(clRed);
  cv.TextOut(MmToPx(10), PrintY, QStringLiteral("Zelvan RUTO Version: 5"));
  PrintY += PrintLineHeight;

  cv.Pen = TPen{PrintColor(clBlack), MmToPx(1) / 5, TPenStyle::psSolid};
  cv.MoveTo(MmToPx(3), PrintY);
  cv.LineTo(PrintPageWidth - MmToPx(2), PrintY);
  PrintY += PrintLineHeight;
}

void TReport::PrintClientInfo() {
  Canvas& cv = c();
  cv.Brush.Style = TBrushStyle::bsClear;
  cv.Font.Name = in_.FontName;
  cv.Font.Size = fontSize_;
  cv.Font.Color = clBlack;
  const TClientInfo& cl = in_.Client;
  const bool born = cl.DBirth > 4000.0;

  cv.TextOut(MmToPx(20), PrintY, "編號:  " + cl.CustNo);
  cv.TextOut(MmToPx(70), PrintY, "姓名:  " + cl.Name);
  cv.TextOut(MmToPx(115), PrintY, QStringLiteral("性別:"));
  const int sexX = MmToPx(115) + cv.TextWidth(QStringLiteral("性別: "));
  cv.Font.Color = PrintColor(cl.Sex ? clGreen : clRed);
  cv.TextOut(sexX, PrintY, cl.Sex ? QStringLiteral("男 性") : QStringLiteral("女 性"));
  cv.Font.Color = clBlack;
  cv.TextOut(MmToPx(160), PrintY, "生日:  " + (born ? formatOleDate(cl.DBirth) : QString()));
  PrintY += MmToPx(3) + PrintLineHeight;

  cv.TextOut(MmToPx(20), PrintY, "地址:  " + cl.Addr);
  cv.TextOut(MmToPx(115), PrintY, "電話:  " + cl.Tel);
  QString age;
  if (born) {
    const QDateTime birth = fromOleDate(cl.DBirth);
    if (birth.isValid()) age = Format("%3d", {in_.Today.year() - birth.date().year()});
  }
  cv.TextOut(MmToPx(160), PrintY, "年齡:  " + age);
  PrintY += PrintLineHeight;
}

// ---- measurement table and charts ----

void TReport::PrintMeasurementTable() {
  Canvas& cv = c();
  const int LH = PrintLineHeight;
  cv.Brush.Style = TBrushStyle::bsClear;
  PrintY += LH;
  cv.Font.Color = clBlack;
  cv.TextOut(MmToPx(20), PrintY, QStringLiteral("測量方式:"));
  const int rangeX = MmToPx(20) + cv.TextWidth(QStringLiteral("測量方式: "));
  cv.Font.Color = PrintColor(in_.Test.VoVota ? clRed : clGreen);
  cv.TextOut(rangeX, PrintY,
             in_.Test.VoVota ? QStringLiteral("高電位量測值 (擴大測量法)")
                             : QStringLiteral("標準電位測值 (一般測量法)"));
  cv.Font.Color = clBlack;
  cv.TextOut(MmToPx(178), PrintY, QStringLiteral("單位:  uA"));
  PrintY += MmToPx(2) + LH;
  const int Y0 = PrintY;

  cv.Pen = TPen{PrintColor(clBlack), MmToPx(1) / 5, TPenStyle::psSolid};
  cv.Rectangle(TRect{MmToPx(13), Y0, MmToPx(193), Y0 + 2 * LH});
  cv.Pen.Width = MmToPx(1) / 8;
  const int CW = MmToPx(180) / 12;

  cv.Font.Color = PrintColor(clGreen);
  cv.TextOut(MmToPx(3), Y0 + 3 * LH + LH / 2, QStringLiteral("左　側"));
  cv.TextOut(MmToPx(3), Y0 + 6 * LH + LH / 2, QStringLiteral("右　側"));
  cv.MoveTo(MmToPx(13), Y0 + 5 * LH + LH / 2);
  cv.LineTo(MmToPx(193), Y0 + 5 * LH + LH / 2);

  const auto centredIn = [&](int x0, int y, const QString& s) {
    cv.TextOut(x0 + std::max(0, (CW - cv.TextWidth(s)) / 2), y, s);
  };
  const auto value = [](double v) { return Trim(Format("%5.1f", {v})); };
  for (int col = 1; col <= 12; ++col) {
    const int x0 = MmToPx(13) + (col - 1) * CW;
    if (col == 7) {
      for (int x : {x0 - 5, x0 + 5}) {
        cv.MoveTo(x, Y0);
        cv.LineTo(x, Y0 + 2 * LH);
      }
    } else {
      cv.MoveTo(x0, Y0);
      cv.LineTo(x0, Y0 + 2 * LH);
    }
    cv.Font.Color = PrintColor(clBlue);
    centredIn(x0, Y0 + LH / 2, PrintedMeridianLabel(col));

    const int left = col <= 6 ? col : col + 6;
    const int right = col <= 6 ? col + 6 : col + 12;
    cv.Font.Color = clBlack;
    centredIn(x0, Y0 + 3 * LH, value(in_.Test.Values[left]));
    centredIn(x0, Y0 + 6 * LH, value(in_.Test.Values[right]));
    // The hand columns' bracketed values stand 1 mm further left.
    const int bx0 = (col <= 6 ? MmToPx(12) : MmToPx(13)) + (col - 1) * CW;
    cv.Font.Color = PrintColor(clMaroon);
    centredIn(bx0, Y0 + 4 * LH, "[" + value(in_.Test.CompValues[left]) + "]");
    centredIn(bx0, Y0 + 7 * LH, "[" + value(in_.Test.CompValues[right]) + "]");
  }
  PrintY = Y0 + 8 * LH;
}

void TReport::chart(ChartType kind, int afterMm) {
  Canvas& cv = c();
  const int LH = PrintLineHeight;
  if (target_.pageHeight() - MmToPx(5) < MmToPx(86) + 5 * LH + PrintY) breakPage();
  const TChartFrame frame{MmToPx(30), MmToPx(150), MmToPx(90), PrintY + 3 * LH, &chartPrint_};
  PrintY += LH;
  cv.Brush.Style = TBrushStyle::bsClear;
  cv.Font.Color = PrintColor(clBlue);
  centred(ChartTitle(kind));
  PrintY += LH;
  DrawChart(kind, cv, frame, in_.Analysis, in_.Test.CompValues);
  cv.Font.Color = clBlack;
  cv.Brush.Style = TBrushStyle::bsClear;
  cv.Pen = TPen{clBlack, 1, TPenStyle::psSolid};
  PrintY += MmToPx(afterMm) + 2 * LH;
}

void TReport::PrintBarChart() {
  chart(ChartType::Bar, 90);
  // The printed bar chart leaves each point's class behind, as the report's sections read it.
  TAnalysisResult& a = in_.Analysis;
  for (int p = 1; p <= 24; ++p) a.PointLevel[p] = ClassifyDeviation(a, a.Deviation[p]);
}

void TReport::PrintCurveChart() { chart(ChartType::Curve, 90); }
void TReport::PrintGeneratingChart() { chart(ChartType::Generating, 90); }
void TReport::PrintControllingChart() { chart(ChartType::Controlling, 85); }
void TReport::PrintRyodorakuChart() { chart(ChartType::Ryodoraku, 90); }
void TReport::PrintAutonomicChart() { chart(ChartType::Autonomic, 90); }

// ---- text sections ----

void TReport::PrintBodyStateSummary() {
  Canvas& cv = c();
  TAnalysisResult& a = in_.Analysis;
  const bool male = in_.Client.Sex;
  cv.Brush.Style = TBrushStyle::bsClear;
  const auto levelColor = [this](int level) {
    const int m = std::abs(level);
    return PrintColor(m == 3 ? clRed : m == 2 ? clOlive : clGreen);
  };
  const auto ratioText = [](const char* upper, double x, const char* lower, double y) {
    return QString::fromUtf8(upper) + Format("%6.1f", {x}) + QString::fromUtf8(lower) +
           Format("%6.1f", {y}) + " =";
  };
  const auto ratio = [](double x, double y) {
    return y != 0 ? Format("%5.3f", {x / y}) : QString();
  };
  struct Row {
    QString label;
    int labelMm;
    QString detail;
    QString range;
    QString value;
    int item;
  };
  std::vector<Row> rows;
  rows.push_back({QStringLiteral("身體能量:"), 37, QString(),
                  male ? QStringLiteral("(28 - 59)") : QStringLiteral("(26 - 58)"),
                  Format("%5.2f", {a.Average}), SummaryEnergy});
  rows.push_back({QStringLiteral("精神狀態比值:"), 30,
                  ratioText("上", a.UpperSum, " / 下", a.LowerSum),
                  male ? QStringLiteral("(0.88-1.15)") : QStringLiteral("(0.78-1.05)"),
                  ratio(a.UpperSum, a.LowerSum), SummaryStress});
  rows.push_back({QStringLiteral("左右肌骨系統:"), 30,
                  ratioText("左", a.LeftSum, " / 右", a.RightSum), QStringLiteral("(0.8-1.1)"),
                  ratio(a.LeftSum, a.RightSum), SummaryMusculoskeletal});
  rows.push_back({QStringLiteral("新陳代謝功能:"), 30,
                  ratioText("陰", a.YinSum, " / 陽", a.YangSum), QStringLiteral("(0.8-1.1)"),
                  ratio(a.YinSum, a.YangSum), SummaryMetabolism});
  // The ratio text shows GroupMin as it stands; the ratio itself never divides by 0.
  const QString autonomicDetail = ratioText("高", a.GroupMax, " / 低", a.GroupMin);
  if (a.GroupMin == 0) a.GroupMin = 1.0;
  rows.push_back({QStringLiteral("自律神經平衡度:"), 26, autonomicDetail,
                  QStringLiteral("(1.0-1.5)"), ratio(a.GroupMax, a.GroupMin), SummaryAutonomic});

  NewLine();
  for (const Row& r : rows) {
    const int level = a.SummaryLevel[r.item];
    cv.Font.Color = clBlack;
    cv.TextOut(MmToPx(r.labelMm), PrintY, r.label);
    cv.Font.Color = PrintColor(clBlue);
    if (!r.detail.isEmpty()) cv.TextOut(MmToPx(60), PrintY, r.detail);
    cv.TextOut(MmToPx(105), PrintY, r.range);
    cv.Font.Color = levelColor(level);
    cv.TextOut(MmToPx(95), PrintY, r.value);
    cv.Font.Color = clBlack;
    cv.TextOut(MmToPx(125), PrintY, printedVerdict(r.item, level));
    NewLine();
  }

  NewLine();
  cv.Font.Color = clBlack;
  cv.TextOut(MmToPx(15), PrintY, QStringLiteral("表裡經絡平均能量對應:"));
  NewLine();
  static const char* const kPairs[6] = {"【 金 】肺  經 - 大腸經", "【相火】心包經 - 三焦經",
                                        "【君火】心  經 - 小腸經", "【 土 】脾  經 - 胃  經",
                                        "【 木 】肝  經 - 膽  經", "【 水 】腎  經 - 膀胱經"};
  for (int line = 0; line < 2; ++line) {
    for (int i = 0; i < 3; ++i) {
      const int pair = line * 3 + i;
      const int x = MmToPx(20 + 60 * i);
      cv.Font.Color = clBlack;
      cv.TextOut(x, PrintY, QString::fromUtf8(kPairs[pair]));
      const int level = a.PairLevel[pair];
      cv.Font.Color = PrintColor(level == 0 ? clGreen : level == 1 ? clOlive : clRed);
      cv.TextOut(x + MmToPx(40), PrintY,
                 level == 0   ? QStringLiteral("正  常")
                 : level == 1 ? QStringLiteral("尚  可")
                              : QStringLiteral("表裡不平衡"));
    }
    NewLine();
  }
}

void TReport::textSectionStart(const QString& title) {
  Canvas& cv = c();
  cv.Brush.Style = TBrushStyle::bsClear;
  cv.Pen.Style = TPenStyle::psSolid;
  cv.Font.Color = clBlack;
  if (target_.pageHeight() - MmToPx(5) < PrintY + 5 * PrintLineHeight)
    breakPage();
  else
    NewLine();
  cv.Font.Color = PrintColor(clBlue);
  PrintLine(title);
  NewLine();
}

QStringList TReport::displayLines(const Memo& memo) const {
  QStringList out;
  for (const QString& line : memo) out << wrap_(line);
  return out;
}

void TReport::plainBlock(const Memo& memo) {
  const QStringList lines = displayLines(memo);
  if (lines.isEmpty()) return;
  c().Font.Color = clBlack;
  for (const QString& line : lines) PrintLine(line);
  NewLine();
}

void TReport::levelBlock(const Memo& memo, bool firstLineOnly) {
  const QStringList lines = displayLines(memo);
  if (lines.isEmpty()) return;
  c().Font.Color = PrintColor(clRed);
  PrintLine(lines.front());
  NewLine();
  if (firstLineOnly) return;
  c().Font.Color = clBlack;
  for (qsizetype i = 1; i < lines.size(); ++i) PrintLine(lines[i]);
  NewLine();
}

void TReport::heading(int k, const QString& text, TColor color) {
  c().Font.Color = PrintColor(color);
  PrintLine("[ " + Trim(QString::number(k)) + " ]" + text);
  NewLine();
}

bool TReport::high(int m) const {
  const auto& level = in_.Analysis.PointLevel;
  return level[LeftPointOf(m)] > 0 && level[RightPointOf(m)] > 0;
}

bool TReport::low(int m) const {
  const auto& level = in_.Analysis.PointLevel;
  return level[LeftPointOf(m)] < 0 && level[RightPointOf(m)] < 0;
}

const TReferenceRow* TReport::row(int key) const {
  const auto it = in_.Reference.find(key);
  return it != in_.Reference.end() && it->second.Found ? &it->second : nullptr;
}

void TReport::PrintMeridianDiagnosis() {
  textSectionStart(QStringLiteral("經絡能量辨證  **本資料僅供學術研究參考**"));
  std::vector<std::function<void()>> items;
  for (int k = 1; k <= in_.DiagnosisItems.size(); ++k) {
    items.push_back([this, k] {
      const int code = k - 1 < static_cast<int>(in_.Analysis.ExplainCodes.size())
                           ? in_.Analysis.ExplainCodes[static_cast<size_t>(k - 1)]
                           : 0;
      heading(k, in_.DiagnosisItems[k - 1], clBlue);
      const TReferenceRow* r = row(code);
      if (!r) return;  // a missing row: the heading alone
      Memo memo3, memo7;
      bool summary = false;
      if (code <= 12) {
        if (detailed()) memo3 << r->DtMA2 << QString() << r->DtMA1 << QString();
        const bool withRyodoraku = option(kRyodorakuText);
        if (high(code)) {
          memo7 << r->DtMH1;
          if (withRyodoraku) memo7 << QString() << r->DtMH5;
        } else if (low(code)) {
          memo7 << r->DtML1;
          if (withRyodoraku) memo7 << QString() << r->DtML5;
        }
      } else {
        summary = true;
        const int level = in_.Analysis.SummaryLevel[static_cast<size_t>(code - 13) % 5];
        if (detailed()) memo3 << r->DtMA1;
        memo7 << (level == 0 ? r->DtMA2 : level > 0 ? r->DtMH1 : r->DtML1);
        if (code == 13 && in_.Analysis.SummaryLevel[SummaryEnergy] == -3)
          memo7 << QString()
                << QStringLiteral("【您的體能過度低落，請特別留意身體機能及經絡的異常狀態】");
      }
      if (aborted_) return;
      plainBlock(memo3);
      levelBlock(memo7, summary && !detailed());
    });
  }
  later(std::move(items));
}

void TReport::PrintTreatmentRecord() {
  textSectionStart(QStringLiteral("症狀描述與處置"));
  if (aborted_ || in_.Note.isEmpty()) return;
  plainBlock(Memo{in_.Note});
}

void TReport::PrintPrescriptionAdvice() {
  textSectionStart(QStringLiteral("醫方建議  **本資料僅供學術研究參考**"));
  std::vector<std::function<void()>> items;
  for (int k = 1; k <= in_.PrescriptionItems.size(); ++k) {
    items.push_back([this, k] {
      const int code = in_.Analysis.RemedyCodes[static_cast<size_t>(k - 1) % 25];
      heading(k, in_.PrescriptionItems[k - 1], clBlue);
      const TReferenceRow* r = row(code);
      if (!r) return;
      Memo memo3;
      const bool withRemedy = option(kRemedyText);
      if (code >= 1 && code <= 12 && high(code)) {
        memo3 << r->DtMH3;
        if (withRemedy) memo3 << QString() << r->DtMH2;
      } else if (code >= 1 && code <= 12 && low(code)) {
        memo3 << r->DtML3;
        if (withRemedy) memo3 << QString() << r->DtML2;
      }
      if (aborted_) return;
      levelBlock(memo3);
    });
  }
  later(std::move(items));
}

void TReport::PrintDietAdvice() {
  textSectionStart(QStringLiteral("養生食療建議"));
  std::vector<std::function<void()>> items;
  for (int k = 1; k <= in_.DietItems.size(); ++k) {
    items.push_back([this, k] {
      const int code = in_.Analysis.DietCodes[static_cast<size_t>(k - 1) % 25];
      heading(k, in_.DietItems[k - 1], clBlue);
      const TReferenceRow* r = row(code);
      if (!r) return;
      Memo memo3, memo7;
      memo3 << r->DtMA3;
      if (detailed() && code >= 1 && code <= 12) {
        if (high(code))
          memo7 << r->DtMH4;
        else if (low(code))
          memo7 << r->DtML4;
      }
      if (aborted_) return;
      plainBlock(memo3);
      levelBlock(memo7);
    });
  }
  later(std::move(items));
}

void TReport::PrintExpertPrograms() {
  textSectionStart(QStringLiteral("專家療程建議"));
  std::vector<std::function<void()>> items;
  for (int k = 1; k <= static_cast<int>(in_.Programs.size()); ++k) {
    items.push_back([this, k] {
      const TReportProgram& p = in_.Programs[static_cast<size_t>(k - 1)];
      heading(k, Trim(p.Item), clRed);
      // An empty description is a memo without lines.
      if (detailed() && !aborted_ && !p.ProData.isEmpty()) plainBlock(Memo{p.ProData});
    });
  }
  later(std::move(items));
}

// ---- the job on a timer ----

TReportJob::TReportJob(std::unique_ptr<TReportTarget> target, TReportInput input, QObject* parent)
    : QObject(parent),
      target_(std::move(target)),
      report_(std::make_unique<TReport>(*target_, std::move(input))) {}

TReportJob::~TReportJob() {
  // A job torn down while it runs leaves nothing behind.
  if (running_) report_->Abort();
}

bool TReportJob::begin() { return report_->Begin(); }

void TReportJob::start() {
  running_ = true;
  QTimer::singleShot(0, this, &TReportJob::tick);
}

void TReportJob::abort() {
  if (!running_) return;
  report_->Abort();
}

void TReportJob::tick() {
  if (!running_) return;
  if (report_->Step()) {
    QTimer::singleShot(0, this, &TReportJob::tick);
    return;
  }
  running_ = false;
  Q_EMIT finished(report_->Finished() && !report_->Aborted());
}

}  // namespace ruto
