// The eleven entry points every catalog plug-in exports. The host resolves
// them by these plain names; nothing else leaves a plug-in module.
#ifndef ZAV_COMMON_ZAVCONTRACT_H
#define ZAV_COMMON_ZAVCONTRACT_H

#if defined(_WIN32)
#define ZAV_EXPORT
#else
#define ZAV_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

ZAV_EXPORT const char* ZAVgetName(void);
ZAV_EXPORT int ZAVgetSupportType(void);
ZAV_EXPORT int ZAVcheckSuffix(const char* suffix);
ZAV_EXPORT const char* ZAVgetDefaultSuffix(void);
ZAV_EXPORT int ZAVopen(const char* path);
ZAV_EXPORT const char* ZAVgetLine(void);
ZAV_EXPORT int ZAVclose(void);
ZAV_EXPORT int ZAVgetPropertyCount(void);
ZAV_EXPORT int ZAVgetPropertyKey(int index);
ZAV_EXPORT const char* ZAVgetPropertyTitle(int index);
ZAV_EXPORT const char* ZAVgetPropertyValue(int index);

#ifdef __cplusplus
}
#endif

#endif
