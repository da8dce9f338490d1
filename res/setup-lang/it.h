// Italian texts of the wizard's pages (setup.pages.rci), in the names of en.h.
#include "undef.h"

#define T_CHARSET 1 // DEFAULT_CHARSET

#define T_WELCOME_CAPTION "Benvenuti"
#define T_WELCOME_710 "Benvenuti nel programma di installazione di %s. Questo programma installerà %s nel computer."
#define T_WELCOME_720 "Si consiglia vivamente di chiudere tutti i programmi Windows prima di eseguire questo programma di installazione."

#define T_INTERFACE_CAPTION "Selezione dell'interfaccia hardware"
#define T_INTERFACE_202 "Selezionare il tipo di interfaccia della periferica."
#define T_INTERFACE_301 "Interfaccia &PS/2"
#define T_INTERFACE_303 "Interfaccia &USB (Universal Serial Bus)"

#define T_DESTINATION_CAPTION "Scelta della destinazione"
#define T_DESTINATION_202 "Il programma di installazione installerà %s nella cartella seguente.\n\nPer installare in questa cartella, fare clic su Avanti.\n\nPer installare in una cartella diversa, fare clic su Sfoglia e selezionare un'altra cartella."
#define T_DESTINATION_203 "È possibile scegliere di non installare %s facendo clic su Annulla per uscire dall'installazione."
#define T_DESTINATION_GROUP "Cartella di destinazione"
#define T_DESTINATION_31 "S&foglia..."

#define T_FOLDER_CAPTION "Selezione della cartella programmi"
#define T_FOLDER_710 "Il programma di installazione aggiungerà le icone dei programmi alla cartella programmi indicata di seguito. È possibile digitare il nome di una nuova cartella o selezionarne una dall'elenco delle cartelle esistenti. Fare clic su Avanti per continuare."
#define T_FOLDER_PROGRAM_LABEL "Cartella &programmi:"
#define T_FOLDER_EXISTING_LABEL "Cartelle e&sistenti:"

#define T_SUMMARY_CAPTION "Avvio dell'installazione"
#define T_SUMMARY_711 "Il programma di installazione è pronto per iniziare l'installazione. Fare clic su Indietro per rivedere o modificare la configurazione corrente. Se la configurazione è corretta, fare clic su Avanti per iniziare l'installazione."
#define T_SUMMARY_701 "Configurazione corrente:"

#define T_PROGRESS_CAPTION "Installazione in corso"
#define T_PROGRESS_1450 "Attendere. Il programma di installazione sta copiando i file nel sistema."
#define T_PROGRESS_1003 "Aggiornamento del Registro di sistema e del driver in corso. Attendere..."
#define T_PROGRESS_1500 "Da:"
#define T_PROGRESS_2 "A:"

#define T_RESULT_CAPTION "Risultato dell'installazione"
#define T_RESULT_711 "%s è stato installato correttamente.\n\nPrima di poter utilizzare %s, è necessario riavviare il computer."
#define T_RESULT_502 "&Riavvia il computer ora."
#define T_RESULT_503 "Riavvierò il computer in &seguito."
#define T_RESULT_712 "Rimuovere gli eventuali dischi dalle unità floppy, quindi fare clic su Fine per completare l'installazione."
#define T_RESULT_713 "%s è stato installato correttamente.\n\nFare clic su Fine per completare l'installazione."
#define T_RESULT_1004 "Impossibile installare il driver nel sistema."
#define T_RESULT_1005 "Non si dispone dei privilegi necessari per installare il driver. Accedere come amministratore ed eseguire di nuovo questo programma di installazione."
#define T_RESULT_1007 "Per ulteriori informazioni, consultare il file README.TXT o il manuale dell'utente."

#define T_EXIT_CAPTION "Esci dall'installazione"
#define T_EXIT_1032 "L'installazione non è completa. Se si esce ora, %s non verrà installato nel computer."
#define T_EXIT_AGAIN "È possibile eseguire di nuovo l'installazione in qualsiasi momento per completarla."
#define T_EXIT_1033 "Per continuare l'installazione di %s, fare clic su Riprendi. Per uscire, fare clic su Esci dall'installazione."
#define T_EXIT_RESUME "&Riprendi"
#define T_EXIT_EXIT "&Esci dall'installazione"
