/* Control codes and records shared by the keyboard-driver stand-ins, keysim and the tests:
   the codes the daemon sends (fixed by the keyboard's drivers) and the private ones keysim
   uses to play the keyboard. Needs ULONG, LONGLONG and UCHAR from <windows.h> or <wdm.h>. */
#ifndef QV_SIMIOCTL_H
#define QV_SIMIOCTL_H

/* What the daemon sends. */
#define IOCTL_FILTER_BEGIN        0x00220008
#define IOCTL_FILTER_READ_EVENT   0x0022000C
#define IOCTL_FILTER_SET_ACTIVE   0x00220014
#define IOCTL_FILTER_DEVICE_COUNT 0x00220018
#define IOCTL_PORT_SEND_CODE      0x9C402414
#define VXD_SET_WINDOW  1
#define VXD_SET_MESSAGE 2
#define VXD_READ_BEEP   3
#define VXD_ENABLE      10
#define VXD_READ_EVENT  11
#define VXD_SEND_CODE   12
#define EVENT_TYPE_FORWARD 0x1000

/* Device paths. The control device of the filter stand-in is never removed, so keysim can
   always reach it, also to plug a removed keyboard device back in. */
#define SIM_PATH_USB_FILTER "\\\\.\\QV_USB_3300_Filter"
#define SIM_PATH_NT_FILTER  "\\\\.\\QV_3355_NT_USB_Filter_Driver"
#define SIM_PATH_VXD        "\\\\.\\QV3300.VXD"
#define SIM_PATH_CONTROL    "\\\\.\\QvSimFilter"
#define SIM_PATH_PORT       "\\\\.\\IoctlTest"

/* Keyboard devices of the filter stand-in. */
#define SIM_DEV_USB   0
#define SIM_DEV_NT    1
#define SIM_DEV_VXD   2
#define SIM_DEV_COUNT 3

/* Private codes: METHOD_BUFFERED, FILE_ANY_ACCESS, device type 0x9D00. */
#define SIM_CODE(fn) ((0x9D00UL << 16) | ((ULONG)(fn) << 2))
#define SIM_INJECT      SIM_CODE(0x801) /* in SIM_INJECT_IN, out SIM_INJECT_OUT */
#define SIM_SET_COUNT   SIM_CODE(0x802) /* in SIM_DEVICE_ARG */
#define SIM_REMOVE      SIM_CODE(0x803) /* in SIM_DEVICE_ARG (device) */
#define SIM_ADD         SIM_CODE(0x804) /* in SIM_DEVICE_ARG (device) */
#define SIM_STATE       SIM_CODE(0x805) /* in SIM_DEVICE_ARG (device), out SIM_DEVICE_STATE */
#define SIM_BEEP        SIM_CODE(0x806) /* out SIM_INJECT_OUT: where to post WM_USER */
#define SIM_RESET       SIM_CODE(0x807) /* every device present, queues and logs empty */
#define SIM_CALLS       SIM_CODE(0x810) /* in ULONG first, out SIM_LOG_HEADER + SIM_CALL[] */
#define SIM_DELIVERIES  SIM_CODE(0x811) /* in ULONG first, out SIM_LOG_HEADER + SIM_DELIVERY[] */
#define SIM_RETURNED    SIM_CODE(0x812) /* in ULONG first, out SIM_LOG_HEADER + SIM_RECEIVED[] */
/* On the hkport device itself. */
#define SIM_PORT_RECEIVED SIM_CODE(0x820) /* in ULONG first, out SIM_LOG_HEADER + SIM_RECEIVED[] */
#define SIM_PORT_STATE    SIM_CODE(0x821) /* out SIM_PORT_STATE_OUT */
#define SIM_PORT_RESET    SIM_CODE(0x822)

typedef struct {
    ULONG code;
    ULONG type;
    ULONG flags;
} SIM_KEY_EVENT;

typedef struct {
    ULONG device;
    SIM_KEY_EVENT event;
} SIM_INJECT_IN;

typedef struct {
    ULONG device;
    ULONG value;
} SIM_DEVICE_ARG;

/* window and message: what the legacy device was told with VXD_SET_WINDOW and
   VXD_SET_MESSAGE, so keysim can post the notice a real VxD would post itself. */
typedef struct {
    LONGLONG stamp;
    ULONG seq;
    ULONG window;
    ULONG message;
    ULONG enabled;
} SIM_INJECT_OUT;

typedef struct {
    ULONG present;
    ULONG generation;    /* bumped by every removal: handles of an earlier one stay bad */
    ULONG count;         /* IOCTL_FILTER_DEVICE_COUNT */
    ULONG active;        /* last IOCTL_FILTER_SET_ACTIVE value */
    ULONG setActiveCalls;
    ULONG begins;
    ULONG openHandles;   /* files open on the device now */
    ULONG opens;         /* successful opens since load or reset */
    ULONG pendingReads;
    ULONG queued;
    ULONG injected;
    ULONG delivered;
    ULONG window;        /* legacy device only */
    ULONG message;
    ULONG enabled;
    ULONG beeps;
} SIM_DEVICE_STATE;

typedef struct {
    ULONG openHandles;
    ULONG opens;
    ULONG received;
    ULONG reserved;
} SIM_PORT_STATE_OUT;

/* Logs are rings read from an index on: first is the oldest index returned (later than
   asked when the ring has wrapped), total the number ever appended. */
typedef struct {
    ULONG total;
    ULONG first;
    ULONG count;
    ULONG entrySize;
} SIM_LOG_HEADER;

/* One request a stand-in saw, in order; the call log proves calling orders from outside. */
#define SIM_MJ_CREATE  0
#define SIM_MJ_CLOSE   2
#define SIM_MJ_CONTROL 14
#define SIM_DEV_CONTROL 3
#define SIM_DEV_PORT    4
typedef struct {
    LONGLONG stamp;
    ULONG device;   /* SIM_DEV_*, SIM_DEV_CONTROL or SIM_DEV_PORT */
    ULONG major;    /* SIM_MJ_* */
    ULONG code;     /* control code */
    ULONG arg;      /* first input ULONG (or byte) of the request, else 0 */
    LONG status;    /* NTSTATUS the request was answered with; STATUS_PENDING when held */
    ULONG reserved;
} SIM_CALL;

typedef struct {
    LONGLONG injected;   /* stamp of SIM_INJECT */
    LONGLONG delivered;  /* stamp of the read that handed the record out */
    ULONG device;
    SIM_KEY_EVENT event;
} SIM_DELIVERY;

/* A code byte received by hkport or given back to the legacy device. */
typedef struct {
    LONGLONG stamp;
    ULONG length;        /* input length of the request */
    UCHAR bytes[4];      /* its first bytes */
} SIM_RECEIVED;

#endif
