#include "keyer/SerialPortList.h"

#include <QCollator>
#include <QSerialPortInfo>
#include <algorithm>

namespace tarvel::keyer {

std::vector<platform::DeviceChoice> SerialPortList::present() const {
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    QCollator byNumber;
    byNumber.setNumericMode(true);
    std::sort(ports.begin(), ports.end(), [&](const QSerialPortInfo& a, const QSerialPortInfo& b) {
        return byNumber.compare(a.systemLocation(), b.systemLocation()) < 0;
    });
    std::vector<platform::DeviceChoice> choices;
    for (const QSerialPortInfo& port : ports) {
        QStringList about;
        for (const QString& part : {port.description(), port.manufacturer()})
            if (!part.isEmpty())
                about << part;
        choices.push_back(
            {port.systemLocation().toStdString(), about.join(QStringLiteral(", ")).toStdString()});
    }
    return choices;
}

} // namespace tarvel::keyer
