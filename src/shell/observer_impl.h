#pragma once
// A process-wide observer and its receivers: the observer hands a parameter to every registered
// receiver, in the order they registered. A receiver leaves every observer it is registered with
// when it is destroyed, so no observer ever calls a receiver that is gone. UI thread only.

#include <map>
#include <vector>

namespace zevik {

template <typename ReturnT, typename ParamT>
class ReceiverImplBase;

template <typename ReturnT, typename ParamT>
class ObserverImplBase {
public:
    virtual ~ObserverImplBase() = default;
    virtual void AddReceiver(ReceiverImplBase<ReturnT, ParamT>* receiver) = 0;
    virtual void RemoveReceiver(ReceiverImplBase<ReturnT, ParamT>* receiver) = 0;
    virtual ReturnT Broadcast(ParamT param) = 0;
    virtual ReturnT Notify(ParamT param) = 0;
};

template <typename ReturnT, typename ParamT>
class ReceiverImplBase {
public:
    virtual ~ReceiverImplBase() = default;
    virtual void AddObserver(ObserverImplBase<ReturnT, ParamT>* observer) = 0;
    virtual void RemoveObserver() = 0;
    virtual ReturnT Receive(ParamT param) = 0;
    virtual ReturnT Respond(ParamT param, ObserverImplBase<ReturnT, ParamT>* observer) = 0;
};

template <typename ReturnT, typename ParamT>
class ObserverImpl : public ObserverImplBase<ReturnT, ParamT> {
public:
    using Receiver = ReceiverImplBase<ReturnT, ParamT>;

    void AddReceiver(Receiver* receiver) override {
        if (receiver == nullptr) return;
        m_receivers[m_count++] = receiver;
        receiver->AddObserver(this);
    }
    void RemoveReceiver(Receiver* receiver) override {
        for (auto it = m_receivers.begin(); it != m_receivers.end();) {
            it = it->second == receiver ? m_receivers.erase(it) : std::next(it);
        }
    }
    // Every receiver's Receive in registration order; the last result (0 without receivers).
    ReturnT Broadcast(ParamT param) override {
        ReturnT result{};
        // A receiver may leave while it receives: work on a copy, ask the map again.
        const auto snapshot = m_receivers;
        for (const auto& [count, receiver] : snapshot) {
            if (m_receivers.count(count) != 0) result = receiver->Receive(param);
        }
        return result;
    }
    // Every receiver's Respond.
    ReturnT Notify(ParamT param) override {
        ReturnT result{};
        const auto snapshot = m_receivers;
        for (const auto& [count, receiver] : snapshot) {
            if (m_receivers.count(count) != 0) result = receiver->Respond(param, this);
        }
        return result;
    }
    std::size_t ReceiverCount() const { return m_receivers.size(); }

private:
    std::map<int, Receiver*> m_receivers;  // by the running count of registrations
    int m_count = 0;
};

template <typename ReturnT, typename ParamT>
class ReceiverImpl : public ReceiverImplBase<ReturnT, ParamT> {
public:
    using Observer = ObserverImplBase<ReturnT, ParamT>;

    ReceiverImpl() = default;
    ReceiverImpl(const ReceiverImpl&) = delete;
    ReceiverImpl& operator=(const ReceiverImpl&) = delete;
    ~ReceiverImpl() override { RemoveObserver(); }

    void AddObserver(Observer* observer) override { m_observers.push_back(observer); }
    void RemoveObserver() override {
        const std::vector<Observer*> observers = std::move(m_observers);
        m_observers.clear();
        for (Observer* observer : observers) observer->RemoveReceiver(this);
    }
    ReturnT Receive(ParamT) override { return ReturnT{}; }
    ReturnT Respond(ParamT, Observer*) override { return ReturnT{}; }

private:
    std::vector<Observer*> m_observers;
};

}  // namespace zevik
