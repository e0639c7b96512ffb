#include "cost_text.h"

#include "numconv.h"

QString NetworkCostText(const net::NetworkCostT& cost) {
    QString text =
        QStringLiteral("стоимость %1").arg(QString::fromStdString(net::FormatFixed3(cost.Cost)));
    if (cost.ChannelsWithoutType > 0)
        text += QStringLiteral(" (каналов с типом не из таблицы %1 — их стоимость не учтена)")
                    .arg(cost.ChannelsWithoutType);
    return text;
}
