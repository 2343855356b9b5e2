#include "records/ui/ClientList.h"

#include <algorithm>

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/SharedRecords.h"
#include "records/ClientSort.h"

namespace ruto {

QList<GridColumn> ClientColumns(ClientList::Titles titles) {
  const bool store = titles == ClientList::Titles::Store;
  const auto t = [store](const char* browser, const char* spaced) {
    return QString::fromUtf8(store ? spaced : browser);
  };
  const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
  const Qt::Alignment centre = Qt::AlignCenter;
  return {
      {QStringLiteral("RENO"), QStringLiteral("Index"), 50, right, {}},
      {QStringLiteral("CUSTNO"), t("編號", "編  號"), 90, Qt::AlignLeft | Qt::AlignVCenter, {}},
      {QStringLiteral("NAME"), t("姓名", "姓  名"), 90, Qt::AlignLeft | Qt::AlignVCenter, {}},
      {QStringLiteral("Sex_S"), QStringLiteral("性別"), 40, centre, {}},
      {QStringLiteral("DBIRTH_C"), t("生日", "生  日"), 80, centre, {}},
      {QStringLiteral("VOAGE"), QStringLiteral("年齡"), 40, right, {}},
      {QStringLiteral("TEL"), t("電話", "電  話"), 100, Qt::AlignLeft | Qt::AlignVCenter, {}},
      {QStringLiteral("ADDR"), t("地址", "地  址"), 200, Qt::AlignLeft | Qt::AlignVCenter, {}},
      {QStringLiteral("EMAIL"),
       QStringLiteral("E-MAIL"),
       140,
       Qt::AlignLeft | Qt::AlignVCenter,
       {}},
      {QStringLiteral("TEL2"),
       QStringLiteral("行動電話"),
       100,
       Qt::AlignLeft | Qt::AlignVCenter,
       {}},
      {QStringLiteral("TEL3"), t("傳真", "傳 真"), 100, Qt::AlignLeft | Qt::AlignVCenter, {}},
  };
}

ClientList::ClientList(RecordSet* clients, Titles titles, const QString& countName, QWidget* parent)
    : QWidget(parent) {
  const bool store = titles == Titles::Store;
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* bar = new QHBoxLayout;
  bar->addWidget(new QLabel(QString::fromUtf8(store ? "資料搜尋：" : "資料搜尋:"), this));
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setMinimumWidth(140);
  bar->addWidget(Edit1);
  bar->addSpacing(12);
  bar->addWidget(new QLabel(QStringLiteral("資料查詢方式："), this));
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->addItems({QStringLiteral("編號"), QStringLiteral("姓名"), QStringLiteral("性別"),
                       QStringLiteral("生日"), QStringLiteral("電話"), QStringLiteral("地址"),
                       QStringLiteral("e-Mail"), QStringLiteral("行動電話"),
                       QStringLiteral("傳真")});
  bar->addWidget(ComboBox1);
  bar->addSpacing(12);
  bar->addWidget(new QLabel(QStringLiteral("排列方式："), this));
  ComboBox2 = new QComboBox(this);
  ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
  ComboBox2->addItems({QStringLiteral("遞增"), QStringLiteral("遞減")});
  bar->addWidget(ComboBox2);
  bar->addStretch(1);
  bar->addWidget(new QLabel(QStringLiteral("資料總筆數:"), this));
  CountLabel = new QLabel(this);
  CountLabel->setObjectName(countName);
  CountLabel->setFrameShape(QFrame::Panel);
  CountLabel->setFrameShadow(QFrame::Sunken);
  // The label's figures line up as the fixed-width count text intends.
  QFont mono = CountLabel->font();
  mono.setFamily(QStringLiteral("monospace"));
  mono.setStyleHint(QFont::Monospace);
  CountLabel->setFont(mono);
  // Room for the widest count in this font and a little air, whatever the window's width.
  const int widest = CountLabel->fontMetrics().horizontalAdvance(RecordCountText(999999, 999999)) +
                     2 * CountLabel->frameWidth() + 2 * CountLabel->margin() + 8;
  CountLabel->setMinimumWidth(std::max(150, widest));
  bar->addWidget(CountLabel);
  layout->addLayout(bar);

  DBGrid1 = new RecordGrid(clients, ClientColumns(titles), this);
  DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
  DBGrid1->setAccessibleName(QStringLiteral("受測者資料"));
  layout->addWidget(DBGrid1, 1);
}

void ClientList::showSortKey(int sortKey) {
  {
    const QSignalBlocker b1(ComboBox1);
    const QSignalBlocker b2(ComboBox2);
    ComboBox1->setCurrentIndex(ClientSortItem(sortKey));
    ComboBox2->setCurrentIndex(ClientSortDirectionItem(sortKey));
  }
  DBGrid1->recordSet()->setSort(ClientSortText(sortKey));
}

void ClientList::setCountText(const QString& text) { CountLabel->setText(text); }

void ClientList::sortByBoxes(QString& sortField, bool fromColumnBox) {
  if (fromColumnBox) {
    sortField = ComboSortField(ComboBox1->currentIndex());
    Edit1->setEnabled(true);
  }
  const bool descending = ComboBox2->currentIndex() == 1;
  ViewState.ClientSortKey = ClientSortKeyFor(ComboBox1->currentIndex(), descending);
  RecordSet& clients = *DBGrid1->recordSet();
  const qint64 mark = clients.bookmark();
  clients.setSort(sortField + (descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC")));
  // The rows in memory take the new order; the list is read again on the next refresh.
  clients.sortNow();
  clients.gotoBookmark(mark);
  DBGrid1->reload();
  DBGrid1->setFocus();
}

}  // namespace ruto
