#pragma once
// The program's compiled-in resources (toolbar pictures, layout data). They live in a static
// library, so they are registered explicitly before their first use. Main thread only.

void EnsureAppResources();
