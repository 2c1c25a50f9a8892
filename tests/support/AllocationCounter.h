// Counts heap and lock traffic of the whole test executable while counting is on. Linking
// tessaline_test_alloccount replaces the global operator new and delete (plain, array,
// nothrow, sized and aligned forms) and interposes pthread_mutex_lock, so a test can prove
// that a real-time path allocates, frees and locks nothing.
#pragma once

namespace TestSupport {

// Starts counting from zero.
void startCounting();
// Stops counting; the counts stay readable.
void stopCounting();
// Allocations and frees seen while counting.
long allocatorCalls();
// pthread_mutex_lock calls seen while counting.
long lockCalls();

} // namespace TestSupport
