/* The checks of the SDK consumer, each in a file of its own language. */
#ifndef TESTS_WINDOWS_SDK_CONSUMER_H
#define TESTS_WINDOWS_SDK_CONSUMER_H

#ifdef __cplusplus
extern "C" {
#endif

/* Each returns 0 when the export behaved as a host expects. */
int CheckEncoder(void);
int CheckPreview(void);

#ifdef __cplusplus
}
#endif

#endif
