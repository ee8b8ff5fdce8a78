// Counts heap allocations made by this process, through operator new and,
// outside the sanitizer build, through malloc and its relatives.
#pragma once

long AllocationCount();
