#pragma once
// Suspends the views of a query for the length of a walk over its rows and
// resumes them however the walk ends.

#include "data/Query.h"

/// The views of the query stop following it until the guard goes out of scope.
///
///     {
///         TDisplaySuspended suspended(DataZRT->GETappPartReg);
///         for (q->First(); !q->Eof(); q->Next()) ...
///     }   // the grid shows the query again, even after a failure
class TDisplaySuspended {
public:
    explicit TDisplaySuspended(TQuery* query) : query_(query) { query_->DisableControls(); }
    ~TDisplaySuspended() { resume(); }
    TDisplaySuspended(const TDisplaySuspended&) = delete;
    TDisplaySuspended& operator=(const TDisplaySuspended&) = delete;

    /// Resumes the views now (once; the destructor then does nothing).
    void resume()
    {
        if (query_) {
            query_->EnableControls();
            query_ = nullptr;
        }
    }

private:
    TQuery* query_;
};
