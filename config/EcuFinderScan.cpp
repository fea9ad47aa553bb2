#include "config/EcuFinderScan.h"

#include "app/Numbers.h"
#include "link/EcuLink.h"
#include "link/Protocol.h"
#include "link/SerialPort.h"

#include <QPointer>

EcuFinderScan::EcuFinderScan(EcuLink &link, QObject *parent)
    : QObject(parent), m_link(link), m_linkAlive(&link)
{
    // A reply of 20 bytes or more reaches the receive notification before the probe is judged;
    // the dispatcher hands it here instead of dropping it.
    QPointer<EcuFinderScan> self(this);
    m_link.setHandler(ReadModes::EcuFinder, [self](const QByteArray &Rdata) {
        if (self)
            self->m_dispatched.append(Rdata);
    });
}

EcuFinderScan::~EcuFinderScan()
{
    // When the main window is destroyed, its link may go before the windows that use it.
    if (m_linkAlive)
        m_link.setHandler(ReadModes::EcuFinder, {});
}

void EcuFinderScan::run()
{
    QPointer<EcuFinderScan> self(this);
    EcuLink &link = m_link;
    m_running = true;
    m_cancelled = false;
    m_abandoned = false;

    link.openPort(); // a port that does not open is reported there, in a modal box
    if (!self || m_abandoned)
        return;
    link.ReadMode = ReadModes::EcuFinder;
    quint8 candidate = m_firstCandidate;
    m_candidate = candidate;
    link.port().setReceiveThreshold(kReceiveThreshold);
    link.write(QByteArray(1, char(Protocol::kWakeUp)));
    link.write(QByteArray(1, char(Protocol::kWakeUp)));
    if (!waitStillWanted(kSettleMs))
        return;
    discardReply();

    for (bool first = true;; first = false) {
        // Nothing answers on a port that did not open or closed under the scan (device gone,
        // main window closing): probing on would only keep the user waiting.
        if (!link.port().isOpen())
            break;
        m_candidate = candidate;
        emit probing(probeText(candidate));
        if (!first)
            discardReply();
        for (char byte : Protocol::identityProbe(candidate)) {
            link.write(QByteArray(1, byte));
            if (!waitStillWanted(kProbeByteWaitMs))
                return;
        }
        emit probed();
        if (!self || m_abandoned)
            return;
        if (replyMarks(takeReply(), candidate))
            emit found(foundText(candidate));
        if (!self || m_abandoned)
            return;
        if (candidate == 0 || m_cancelled)
            break;
        --candidate;
    }
    m_running = false;
    m_candidate = 0;
    emit completed();
}

void EcuFinderScan::cancel()
{
    m_cancelled = true;
}

void EcuFinderScan::abandon()
{
    m_abandoned = true;
    m_cancelled = true;
    m_running = false;
    m_candidate = 0;
}

bool EcuFinderScan::waitStillWanted(qint32 ms)
{
    // Anything can happen during the wait, the window owning this scan may close or go away.
    QPointer<EcuFinderScan> self(this);
    m_link.WAITmS(ms);
    return self && !m_abandoned;
}

void EcuFinderScan::discardReply()
{
    m_dispatched.clear();
    m_link.port().discardInput();
}

QByteArray EcuFinderScan::takeReply()
{
    QByteArray reply;
    reply.swap(m_dispatched);
    if (m_link.port().bytesWaiting() > 0)
        reply.append(m_link.port().readAll());
    return reply;
}

QString EcuFinderScan::probeText(quint8 candidate)
{
    return QStringLiteral("- ") + Numbers::hexText(candidate, 1);
}

QString EcuFinderScan::foundText(quint8 candidate)
{
    return QStringLiteral("ECU id ") + Numbers::hexText(candidate, 1) + QStringLiteral(" - active");
}

bool EcuFinderScan::replyMarks(const QByteArray &reply, quint8 candidate)
{
    return reply.contains(char(Protocol::identityAnswer(candidate)));
}
