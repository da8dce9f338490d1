// Simplified Chinese texts of the wizard's pages (setup.pages.rci), in the names of en.h.
#include "undef.h"

#define T_CHARSET 134 // GB2312_CHARSET

#define T_WELCOME_CAPTION "欢迎"
#define T_WELCOME_710 "欢迎使用 %s 安装程序。本程序将在您的计算机上安装 %s。"
#define T_WELCOME_720 "强烈建议您在运行本安装程序之前，先退出所有 Windows 程序。"

#define T_INTERFACE_CAPTION "选择硬件接口"
#define T_INTERFACE_202 "请选择您设备的接口类型。"
#define T_INTERFACE_301 "PS/2 接口(&P)"
#define T_INTERFACE_303 "USB (通用串行总线) 接口(&U)"

#define T_DESTINATION_CAPTION "选择目标位置"
#define T_DESTINATION_202 "安装程序将把 %s 安装到下列文件夹中。\n\n要安装到此文件夹，请单击 [下一步]。\n\n要安装到其他文件夹，请单击 [浏览]，然后选择另一个文件夹。"
#define T_DESTINATION_203 "您可以单击 [取消] 退出安装程序，不安装 %s。"
#define T_DESTINATION_GROUP "目标文件夹"
#define T_DESTINATION_31 "浏览(&R)..."

#define T_FOLDER_CAPTION "选择程序文件夹"
#define T_FOLDER_710 "安装程序将把程序图标添加到下面列出的程序文件夹中。您可以输入新的文件夹名称，或从现有文件夹列表中选择一个。单击 [下一步] 继续。"
#define T_FOLDER_PROGRAM_LABEL "程序文件夹(&P):"
#define T_FOLDER_EXISTING_LABEL "现有文件夹(&X):"

#define T_SUMMARY_CAPTION "开始安装"
#define T_SUMMARY_711 "安装程序已准备好开始安装。要查看或更改当前配置，请单击 [上一步]。如果当前配置正确，请单击 [下一步] 开始安装。"
#define T_SUMMARY_701 "当前配置:"

#define T_PROGRESS_CAPTION "安装过程"
#define T_PROGRESS_1450 "安装程序正在将文件复制到您的系统，请稍候。"
#define T_PROGRESS_1003 "安装程序正在更新注册表和驱动程序，请稍候..."
#define T_PROGRESS_1500 "来源:"
#define T_PROGRESS_2 "目标:"

#define T_RESULT_CAPTION "安装结果"
#define T_RESULT_711 "安装程序已成功安装 %s。\n\n在使用 %s 之前，您必须重新启动计算机。"
#define T_RESULT_502 "立即重新启动计算机(&R)。"
#define T_RESULT_503 "稍后重新启动计算机(&L)。"
#define T_RESULT_712 "请取出软盘驱动器中的所有磁盘，然后单击 [完成] 结束安装程序。"
#define T_RESULT_713 "安装程序已成功安装 %s。\n\n请单击 [完成] 结束安装程序。"
#define T_RESULT_1004 "安装程序无法在您的系统上安装驱动程序。"
#define T_RESULT_1005 "您没有足够的权限安装驱动程序。请以管理员身份重新登录，然后再次运行本安装程序。"
#define T_RESULT_1007 "有关详细信息，请参阅 README.TXT 或用户手册。"

#define T_EXIT_CAPTION "退出安装"
#define T_EXIT_1032 "安装尚未完成。如果现在退出安装程序，%s 将不会安装到您的计算机上。"
#define T_EXIT_AGAIN "您可以随时再次运行安装程序以完成安装。"
#define T_EXIT_1033 "要继续安装 %s，请单击 [继续]。要退出安装程序，请单击 [退出安装]。"
#define T_EXIT_RESUME "继续(&R)"
#define T_EXIT_EXIT "退出安装(&X)"
