#include "devices/scan_thread.h"

#include <memory>
#include <vector>

#include "platform/thread_name.h"
#include "transport/device_catalogue.h"
#include "transport/hid/hid_backend.h"
#include "transport/hid_interface.h"
#include "ui/message_loop.h"

namespace zevik {

CScanThread::CScanThread(IHidBackend& backend, CMessageLoop& loop, HWND target, UINT activateMsg,
                         CDiscoveryInterfaceList& list)
    : m_backend(backend), m_loop(loop), m_target(target), m_activateMsg(activateMsg), m_list(list) {}

CScanThread::~CScanThread() {
    Stop();
}

bool CScanThread::Start() {
    if (m_thread.joinable()) {
        return false;
    }
    m_stop.ResetEvent();
    m_thread = std::thread([this] { Run(); });
    return true;
}

void CScanThread::Stop() {
    if (!m_thread.joinable()) {
        return;
    }
    m_stop.Set();
    m_thread.join();
}

void CScanThread::Run() {
    SetCurrentThreadName("zevik-scan");
    // The stop event is tested at the top of each pass without sleeping there: the pause between
    // passes is the one wait, so an idle scan wakes once per period.
    while (!m_stop.IsSet()) {
        RunPass();
        if (m_stop.WaitFor(kScanPeriod)) {
            break;
        }
    }
}

void CScanThread::RunPass() {
    // Read before looking, so a change during this pass moves the count for the next one.
    const std::optional<std::uint64_t> changes = m_backend.ChangeCount();
    const bool unchanged = changes && m_seenChanges == changes && !m_lookAgain;
    ++m_passes;
    if (unchanged) {
        return;  // the same nodes as at the last full pass: nothing arrived, nothing went
    }
    m_lookAgain = false;
    if (m_list.AnyReachableFree(m_emulatedListed)) {
        ScanForArrivals();
        if (!m_activatePosted) {
            m_activatePosted = true;
            if (m_activateMsg != 0) {
                m_loop.Post(m_target, m_activateMsg, 0, 0);
            }
        }
    }
    CheckRemovals();
    m_seenChanges = changes;
}

void CScanThread::ScanForArrivals() {
    CHidInterface probe(m_backend);
    if (!probe.EnumeratePaths()) {
        m_lookAgain = true;
        return;
    }
    m_emulatedListed = false;
    while (const std::string* next = probe.NextPath()) {
        if (next->starts_with("emu:")) m_emulatedListed = true;
        if (m_stop.IsSet()) {
            m_lookAgain = true;
            break;
        }
        const std::string path = *next;  // the list is owned by the probe; keep our own copy
        const PathIds ids = ParsePathIds(path);
        if (!IsCatalogueInterface(ids) || m_list.HoldsPath(path) ||
            !m_list.HasFreeRow(ids.vendorId, ids.productId, ids.interfaceNumber, ids.collectionNumber)) {
            continue;
        }
        CHidInterface candidate(m_backend);
        bool opened = false;
        for (int attempt = 0; attempt < kOpenAttempts && !opened; ++attempt) {
            if (attempt > 0 && m_stop.WaitFor(kOpenRetryPause)) {
                m_lookAgain = true;
                return;
            }
            opened = candidate.Open(path, true, false, true, false);
        }
        if (!opened) {
            m_lookAgain = true;  // not set up yet, or no rights yet: the next pass tries again
            continue;
        }
        NodeFingerprint fingerprint;
        fingerprint.vendorId = candidate.VendorId();
        fingerprint.productId = candidate.ProductId();
        if (auto node = m_backend.Open(path, false, false)) {
            fingerprint.reportDescriptor = node->ReportDescriptor();
        }
        const auto row = m_list.Claim(candidate.VendorId(), candidate.ProductId(), ids.interfaceNumber,
                                      ids.collectionNumber, candidate.UsagePage(), candidate.Usage(), path,
                                      std::move(fingerprint));
        candidate.Close();
        if (row) {
            SendToTarget(UM_DEVICE_ARRIVED, *row);
        }
    }
    probe.FreePaths();
}

void CScanThread::CheckRemovals() {
    for (const CDiscoveryInterfaceList::ConnectedRow& row : m_list.ConnectedRows()) {
        bool present = false;
        if (std::unique_ptr<IHidConnection> node = m_backend.Open(row.path, false, false)) {
            const HidAttributes attributes = node->Attributes();
            present = attributes.vendorId == row.fingerprint.vendorId &&
                      attributes.productId == row.fingerprint.productId &&
                      node->ReportDescriptor() == row.fingerprint.reportDescriptor;
        }
        if (!present && m_list.Release(row.index)) {
            m_lookAgain = true;  // a node already present may now claim the freed row
            SendToTarget(UM_DEVICE_REMOVED, row.index);
        }
    }
}

bool CScanThread::SendToTarget(UINT msg, std::size_t row) {
    // Retried while the UI thread is busy elsewhere (e.g. waiting for this thread in Stop()).
    while (!m_stop.IsSet() && !m_loop.IsShuttingDown() && m_loop.FromHandle(m_target) != nullptr) {
        if (m_loop.SendTimeout(m_target, msg, static_cast<WPARAM>(row), 0, std::chrono::milliseconds(50))) {
            return true;
        }
    }
    return false;
}

}  // namespace zevik
