// One run of the design search from the windows: the solver works on a copy
// of the network in a thread of its own while the progress window keeps the
// interface alive; "Отмена" stops it with the best design found. The network
// itself is only read, before the run starts.
#pragma once

#include <QString>
#include <optional>

#include "DesignOptionsForm.h"
#include "netobj.h"
#include "network_cost.h"
#include "network_design.h"

class QWidget;

// What one run found, with what it was asked and the network it was made for.
struct DesignOutcome {
    DesignOptions Options;
    design::DesignStatus Status = design::DesignStatus::Infeasible;
    design::DesignResult Result;
    // The network as it was when the run started.
    net::TNetObj Network;
    net::NetworkCostT CurrentCost;
    // How the method routes the network as it is; empty, with the reason in
    // CurrentCheckError, when it cannot route it.
    std::optional<design::MethodCheck> CurrentCheck;
    QString CurrentCheckError;
};

// Runs the search with the progress window over `parent` and returns when it
// has ended. An error of the search is raised here, in the calling thread.
DesignOutcome RunDesignSearch(QWidget* parent, const net::TNetObj& net,
                              const DesignOptions& options);
