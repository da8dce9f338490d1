// Traditional Chinese texts of the wizard's pages (setup.pages.rci), in the names of en.h.
#include "undef.h"

#define T_CHARSET 136 // CHINESEBIG5_CHARSET

#define T_WELCOME_CAPTION "歡迎"
#define T_WELCOME_710 "歡迎使用 %s 安裝程式。本程式將在您的電腦上安裝 %s。"
#define T_WELCOME_720 "強烈建議您在執行本安裝程式之前，先結束所有 Windows 程式。"

#define T_INTERFACE_CAPTION "選擇硬體介面"
#define T_INTERFACE_202 "請選擇您裝置的介面類型。"
#define T_INTERFACE_301 "PS/2 介面(&P)"
#define T_INTERFACE_303 "USB (通用序列匯流排) 介面(&U)"

#define T_DESTINATION_CAPTION "選擇目的地位置"
#define T_DESTINATION_202 "安裝程式將把 %s 安裝在下列資料夾中。\n\n若要安裝到此資料夾，請按 [下一步]。\n\n若要安裝到其他資料夾，請按 [瀏覽]，然後選擇另一個資料夾。"
#define T_DESTINATION_203 "您可以按 [取消] 結束安裝程式，不安裝 %s。"
#define T_DESTINATION_GROUP "目的地資料夾"
#define T_DESTINATION_31 "瀏覽(&R)..."

#define T_FOLDER_CAPTION "選擇程式資料夾"
#define T_FOLDER_710 "安裝程式將把程式圖示新增到下列的程式資料夾中。您可以輸入新的資料夾名稱，或從現有資料夾清單中選擇一個。請按 [下一步] 繼續。"
#define T_FOLDER_PROGRAM_LABEL "程式資料夾(&P):"
#define T_FOLDER_EXISTING_LABEL "現有資料夾(&X):"

#define T_SUMMARY_CAPTION "開始安裝"
#define T_SUMMARY_711 "安裝程式已準備好開始安裝。若要檢查或變更目前的設定，請按 [上一步]。如果目前的設定正確，請按 [下一步] 開始安裝。"
#define T_SUMMARY_701 "目前的設定:"

#define T_PROGRESS_CAPTION "安裝程序"
#define T_PROGRESS_1450 "安裝程式正在將檔案複製到您的系統，請稍候。"
#define T_PROGRESS_1003 "安裝程式正在更新登錄和驅動程式，請稍候..."
#define T_PROGRESS_1500 "來源:"
#define T_PROGRESS_2 "目的地:"

#define T_RESULT_CAPTION "安裝結果"
#define T_RESULT_711 "安裝程式已成功安裝 %s。\n\n您必須重新啟動電腦，才能使用 %s。"
#define T_RESULT_502 "立即重新啟動電腦(&R)。"
#define T_RESULT_503 "稍後再重新啟動電腦(&L)。"
#define T_RESULT_712 "請取出軟碟機中的所有磁片，然後按 [完成] 結束安裝程式。"
#define T_RESULT_713 "安裝程式已成功安裝 %s。\n\n請按 [完成] 結束安裝程式。"
#define T_RESULT_1004 "安裝程式無法在您的系統上安裝驅動程式。"
#define T_RESULT_1005 "您沒有足夠的權限安裝驅動程式。請以系統管理員身分重新登入，然後再執行一次本安裝程式。"
#define T_RESULT_1007 "詳細資訊請參閱 README.TXT 或使用手冊。"

#define T_EXIT_CAPTION "結束安裝"
#define T_EXIT_1032 "安裝尚未完成。如果您現在結束安裝程式，%s 將不會安裝到您的電腦上。"
#define T_EXIT_AGAIN "您可以隨時再執行安裝程式以完成安裝。"
#define T_EXIT_1033 "若要繼續安裝 %s，請按 [繼續]。若要結束安裝程式，請按 [結束安裝]。"
#define T_EXIT_RESUME "繼續(&R)"
#define T_EXIT_EXIT "結束安裝(&X)"
