// Japanese texts of the wizard's pages (setup.pages.rci), in the names of en.h.
#include "undef.h"

#define T_CHARSET 128 // SHIFTJIS_CHARSET

#define T_WELCOME_CAPTION "ようこそ"
#define T_WELCOME_710 "%s セットアップ プログラムへようこそ。このプログラムは %s をコンピュータにインストールします。"
#define T_WELCOME_720 "このセットアップ プログラムを実行する前に、すべての Windows プログラムを終了することを強くお勧めします。"

#define T_INTERFACE_CAPTION "ハードウェア インターフェイスの選択"
#define T_INTERFACE_202 "デバイスのインターフェイスの種類を選択してください。"
#define T_INTERFACE_301 "PS/2 インターフェイス(&P)"
#define T_INTERFACE_303 "USB (ユニバーサル シリアル バス) インターフェイス(&U)"

#define T_DESTINATION_CAPTION "インストール先の選択"
#define T_DESTINATION_202 "セットアップは次のフォルダに %s をインストールします。\n\nこのフォルダにインストールするには、[次へ] をクリックしてください。\n\n別のフォルダにインストールするには、[参照] をクリックして別のフォルダを選択してください。"
#define T_DESTINATION_203 "セットアップを終了して %s をインストールしない場合は、[キャンセル] をクリックしてください。"
#define T_DESTINATION_GROUP "インストール先のフォルダ"
#define T_DESTINATION_31 "参照(&R)..."

#define T_FOLDER_CAPTION "プログラム フォルダの選択"
#define T_FOLDER_710 "セットアップは、以下のプログラム フォルダにプログラム アイコンを追加します。新しいフォルダ名を入力するか、既存のフォルダの一覧から選択してください。続行するには、[次へ] をクリックしてください。"
#define T_FOLDER_PROGRAM_LABEL "プログラム フォルダ(&P):"
#define T_FOLDER_EXISTING_LABEL "既存のフォルダ(&X):"

#define T_SUMMARY_CAPTION "インストールの開始"
#define T_SUMMARY_711 "セットアップはインストールを開始する準備ができました。現在の設定を確認または変更するには、[戻る] をクリックしてください。現在の設定でよければ、[次へ] をクリックしてインストールを開始してください。"
#define T_SUMMARY_701 "現在の設定:"

#define T_PROGRESS_CAPTION "インストールの実行"
#define T_PROGRESS_1450 "セットアップがファイルをシステムにコピーしています。しばらくお待ちください。"
#define T_PROGRESS_1003 "セットアップがレジストリとドライバを更新しています。しばらくお待ちください..."
#define T_PROGRESS_1500 "コピー元:"
#define T_PROGRESS_2 "コピー先:"

#define T_RESULT_CAPTION "セットアップの結果"
#define T_RESULT_711 "%s は正常にインストールされました。\n\n%s を使用する前に、コンピュータを再起動する必要があります。"
#define T_RESULT_502 "今すぐコンピュータを再起動する(&R)"
#define T_RESULT_503 "後でコンピュータを再起動する(&L)"
#define T_RESULT_712 "フロッピー ドライブからディスクを取り出してから、[完了] をクリックしてセットアップを終了してください。"
#define T_RESULT_713 "%s は正常にインストールされました。\n\n[完了] をクリックしてセットアップを終了してください。"
#define T_RESULT_1004 "ドライバをシステムにインストールできませんでした。"
#define T_RESULT_1005 "ドライバをインストールする権限がありません。管理者としてログインし直して、このセットアップ プログラムをもう一度実行してください。"
#define T_RESULT_1007 "詳細については、README.TXT またはユーザーズ マニュアルを参照してください。"

#define T_EXIT_CAPTION "セットアップの終了"
#define T_EXIT_1032 "セットアップは完了していません。ここでセットアップを終了すると、%s はコンピュータにインストールされません。"
#define T_EXIT_AGAIN "セットアップはいつでも再実行してインストールを完了できます。"
#define T_EXIT_1033 "%s のインストールを続けるには [再開] を、セットアップを終了するには [セットアップの終了] をクリックしてください。"
#define T_EXIT_RESUME "再開(&R)"
#define T_EXIT_EXIT "セットアップの終了(&X)"
