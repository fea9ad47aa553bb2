#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

class EcuLink;

// The ECU finder's scan: every identity byte from 0xFE down to 0x00 is probed with 0xFF, 0xFF,
// identity (one byte a write, 100 ms after each); an ECU that answers to that identity sends back
// its complement. Runs inside the caller, the waits keep the user interface going.
class EcuFinderScan : public QObject
{
    Q_OBJECT
public:
    static constexpr quint8 kFirstCandidate = 0xFE; // 0xFF is never probed
    static constexpr int kReceiveThreshold = 20;
    static constexpr qint32 kSettleMs = 20;         // after the two wake-up bytes
    static constexpr qint32 kProbeByteWaitMs = 100; // after each probe byte

    explicit EcuFinderScan(EcuLink &link, QObject *parent = nullptr);
    ~EcuFinderScan() override;

    // Where the scan starts (the full scan starts at 0xFE; tests start lower to stay short).
    void setFirstCandidate(quint8 candidate) { m_firstCandidate = candidate; }

    // Opens the port and probes every candidate down to 0. Returns when the scan completed, was
    // cancelled, or was abandoned (the object may be gone by then: callers must not touch it).
    void run();
    // Stop after the probe in progress, which is still judged against its own identity.
    void cancel();
    // Stop now, without another byte on the line: the window is closing.
    void abandon();

    bool isRunning() const { return m_running; }
    quint8 candidate() const { return m_candidate; }

    // "- FE", "- 3": the identity being probed, upper-case hex without leading zeros.
    static QString probeText(quint8 candidate);
    static QString completedText() { return QStringLiteral("- Completed !"); }
    // "ECU id EF - active"
    static QString foundText(quint8 candidate);
    // Whether a reply marks the candidate: its complement anywhere in the reply.
    static bool replyMarks(const QByteArray &reply, quint8 candidate);

signals:
    void probing(const QString &text);
    void found(const QString &line);
    // One probe is done (the main window's activity bar steps).
    void probed();
    void completed();

private:
    bool waitStillWanted(qint32 ms);
    void discardReply();
    QByteArray takeReply();

    EcuLink &m_link;
    QPointer<EcuLink> m_linkAlive;
    quint8 m_firstCandidate = kFirstCandidate;
    quint8 m_candidate = kFirstCandidate;
    bool m_running = false;
    bool m_cancelled = false;
    bool m_abandoned = false;
    // Bytes the receive dispatcher read for the finder's read mode before the finder looked.
    QByteArray m_dispatched;
};
