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

ClientList::ClientList(RecordSet* clients, Titles titles, QWidget* parent) : QWidget(parent) {
  const bool store = titles == Titles::Store;
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* bar = new QHBoxLayout;
  bar->addWidget(new QLabel(QString::fromUtf8(store ? "資料搜尋：" : "資料搜尋:"), this));
  searchEdit = new QLineEdit(this);
  searchEdit->setObjectName(QStringLiteral("searchEdit"));
  searchEdit->setMinimumWidth(140);
  bar->addWidget(searchEdit);
  bar->addSpacing(12);
  bar->addWidget(new QLabel(QStringLiteral("資料查詢方式："), this));
  sortColumnBox = new QComboBox(this);
  sortColumnBox->setObjectName(QStringLiteral("sortColumnBox"));
  sortColumnBox->addItems({QStringLiteral("編號"), QStringLiteral("姓名"), QStringLiteral("性別"),
                           QStringLiteral("生日"), QStringLiteral("電話"), QStringLiteral("地址"),
                           QStringLiteral("e-Mail"), QStringLiteral("行動電話"),
                           QStringLiteral("傳真")});
  bar->addWidget(sortColumnBox);
  bar->addSpacing(12);
  bar->addWidget(new QLabel(QStringLiteral("排列方式："), this));
  sortDirectionBox = new QComboBox(this);
  sortDirectionBox->setObjectName(QStringLiteral("sortDirectionBox"));
  sortDirectionBox->addItems({QStringLiteral("遞增"), QStringLiteral("遞減")});
  bar->addWidget(sortDirectionBox);
  bar->addStretch(1);
  bar->addWidget(new QLabel(QStringLiteral("資料總筆數:"), this));
  countLabel = new QLabel(this);
  countLabel->setObjectName(QStringLiteral("countLabel"));
  countLabel->setFrameShape(QFrame::Panel);
  countLabel->setFrameShadow(QFrame::Sunken);
  // The label's figures line up as the fixed-width count text intends.
  QFont mono = countLabel->font();
  mono.setFamily(QStringLiteral("monospace"));
  mono.setStyleHint(QFont::Monospace);
  countLabel->setFont(mono);
  // Room for the widest count in this font and a little air, whatever the window's width.
  const int widest = countLabel->fontMetrics().horizontalAdvance(RecordCountText(999999, 999999)) +
                     2 * countLabel->frameWidth() + 2 * countLabel->margin() + 8;
  countLabel->setMinimumWidth(std::max(150, widest));
  bar->addWidget(countLabel);
  layout->addLayout(bar);

  clientGrid = new RecordGrid(clients, ClientColumns(titles), this);
  clientGrid->setObjectName(QStringLiteral("clientGrid"));
  clientGrid->setAccessibleName(QStringLiteral("受測者資料"));
  layout->addWidget(clientGrid, 1);
}

void ClientList::showSortKey(int sortKey) {
  {
    const QSignalBlocker b1(sortColumnBox);
    const QSignalBlocker b2(sortDirectionBox);
    sortColumnBox->setCurrentIndex(ClientSortItem(sortKey));
    sortDirectionBox->setCurrentIndex(ClientSortDirectionItem(sortKey));
  }
  clientGrid->recordSet()->setSort(ClientSortText(sortKey));
}

void ClientList::setCountText(const QString& text) { countLabel->setText(text); }

void ClientList::sortByBoxes(QString& sortField, bool fromColumnBox) {
  if (fromColumnBox) {
    sortField = ComboSortField(sortColumnBox->currentIndex());
    searchEdit->setEnabled(true);
  }
  const bool descending = sortDirectionBox->currentIndex() == 1;
  ViewState.ClientSortKey = ClientSortKeyFor(sortColumnBox->currentIndex(), descending);
  RecordSet& clients = *clientGrid->recordSet();
  const qint64 mark = clients.bookmark();
  clients.setSort(sortField + (descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC")));
  // The rows in memory take the new order; the list is read again on the next refresh.
  clients.sortNow();
  clients.gotoBookmark(mark);
  clientGrid->reload();
  clientGrid->setFocus();
}

}  // namespace ruto
