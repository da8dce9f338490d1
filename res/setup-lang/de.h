// German texts of the wizard's pages (setup.pages.rci), in the names of en.h.
#include "undef.h"

#define T_CHARSET 1 // DEFAULT_CHARSET

#define T_WELCOME_CAPTION "Willkommen"
#define T_WELCOME_710 "Willkommen beim Setup-Programm von %s. Dieses Programm installiert %s auf Ihrem Computer."
#define T_WELCOME_720 "Es wird dringend empfohlen, alle Windows-Programme zu beenden, bevor Sie dieses Setup-Programm ausführen."

#define T_INTERFACE_CAPTION "Auswahl der Hardware-Schnittstelle"
#define T_INTERFACE_202 "Wählen Sie den Schnittstellentyp Ihres Geräts aus."
#define T_INTERFACE_301 "&PS/2-Schnittstelle"
#define T_INTERFACE_303 "&USB-Schnittstelle (Universal Serial Bus)"

#define T_DESTINATION_CAPTION "Zielpfad wählen"
#define T_DESTINATION_202 "Setup installiert %s in folgendem Ordner.\n\nKlicken Sie auf „Weiter“, um in diesen Ordner zu installieren.\n\nKlicken Sie auf „Durchsuchen“, und wählen Sie einen anderen Ordner, um in einen anderen Ordner zu installieren."
#define T_DESTINATION_203 "Wenn Sie %s nicht installieren möchten, klicken Sie auf „Abbrechen“, um Setup zu beenden."
#define T_DESTINATION_GROUP "Zielordner"
#define T_DESTINATION_31 "&Durchsuchen..."

#define T_FOLDER_CAPTION "Programmordner auswählen"
#define T_FOLDER_710 "Setup fügt die Programmsymbole dem unten angegebenen Programmordner hinzu. Sie können einen neuen Ordnernamen eingeben oder einen Ordner aus der Liste der vorhandenen Ordner wählen. Klicken Sie auf „Weiter“, um fortzufahren."
#define T_FOLDER_PROGRAM_LABEL "&Programmordner:"
#define T_FOLDER_EXISTING_LABEL "&Vorhandene Ordner:"

#define T_SUMMARY_CAPTION "Installation starten"
#define T_SUMMARY_711 "Setup kann jetzt mit der Installation beginnen. Klicken Sie auf „Zurück“, um die aktuelle Konfiguration zu überprüfen oder zu ändern. Wenn sie richtig ist, klicken Sie auf „Weiter“, um mit der Installation zu beginnen."
#define T_SUMMARY_701 "Aktuelle Konfiguration:"

#define T_PROGRESS_CAPTION "Installationsvorgang"
#define T_PROGRESS_1450 "Bitte warten Sie, während Setup die Dateien auf Ihr System kopiert."
#define T_PROGRESS_1003 "Setup aktualisiert die Registrierung und den Treiber. Bitte warten..."
#define T_PROGRESS_1500 "Von:"
#define T_PROGRESS_2 "Nach:"

#define T_RESULT_CAPTION "Setup-Ergebnis"
#define T_RESULT_711 "Setup hat %s erfolgreich installiert.\n\nBevor Sie %s verwenden können, müssen Sie den Computer neu starten."
#define T_RESULT_502 "Computer &jetzt neu starten."
#define T_RESULT_503 "Computer &später neu starten."
#define T_RESULT_712 "Entfernen Sie alle Disketten aus den Laufwerken, und klicken Sie auf „Fertig stellen“, um Setup abzuschließen."
#define T_RESULT_713 "Setup hat %s erfolgreich installiert.\n\nKlicken Sie auf „Fertig stellen“, um Setup abzuschließen."
#define T_RESULT_1004 "Setup konnte den Treiber nicht auf Ihrem System installieren."
#define T_RESULT_1005 "Sie haben nicht die erforderlichen Rechte, um den Treiber zu installieren. Melden Sie sich als Administrator an, und führen Sie dieses Setup-Programm erneut aus."
#define T_RESULT_1007 "Weitere Informationen finden Sie in der Datei README.TXT oder im Benutzerhandbuch."

#define T_EXIT_CAPTION "Setup beenden"
#define T_EXIT_1032 "Setup ist noch nicht abgeschlossen. Wenn Sie Setup jetzt beenden, wird %s nicht auf Ihrem Computer installiert."
#define T_EXIT_AGAIN "Sie können Setup jederzeit erneut ausführen, um die Installation abzuschließen."
#define T_EXIT_1033 "Klicken Sie auf „Fortsetzen“, um die Installation von %s fortzusetzen. Klicken Sie auf „Setup beenden“, um Setup zu verlassen."
#define T_EXIT_RESUME "&Fortsetzen"
#define T_EXIT_EXIT "Setup &beenden"
