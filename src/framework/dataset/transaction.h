#pragma once

namespace vok {

class Store;

// A unit of work on the store: committed explicitly, undone when it goes out of scope
// uncommitted (an exception on the way). Nested units become savepoints.
class Transaction {
public:
    explicit Transaction(Store& store);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback();

private:
    Store& store_;
    bool done_ = false;
};

} // namespace vok
