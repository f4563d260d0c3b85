// The identifiers of the Win32 view's resources: the dialog, the icon, and
// every control of the dialog under the form's names. The data panel's
// controls (fields and their labels) lie in one range, so the panel is shown,
// hidden, enabled and disabled as one; the processing panel in another. The
// window test driver reaches the controls by these numbers.
#pragma once

#define IDD_MAIN 100
#define IDI_VARNEL 101

#define IDC_TITLEBAND 1000

// The data panel: 1100 to 1199.
#define IDC_DATA_FIRST 1100
#define IDC_COMPANYNAME 1101
#define IDC_COMPANYID 1102
#define IDC_STREETNAME 1103
#define IDC_ADDRESSDETAIL 1104
#define IDC_BUILDINGNUMBER 1105
#define IDC_POSTALCODE1 1106
#define IDC_POSTALCODE2 1107
#define IDC_CITY 1108
#define IDC_TAXCOUNTRYREGION 1109
#define IDC_SAFTTYPE 1110
#define IDC_SAFTVERSION 1111
#define IDC_BTATCUD 1112
#define IDC_ESTABELECIMENTO 1113
#define IDC_FSERIENUM 1114
#define IDC_DATAI 1115
#define IDC_DATAF 1116
#define IDC_FICHEIRO 1117
#define IDC_OPENF 1118
#define IDC_CARDCOMPANY 1130
#define IDC_CARDEXPORT 1131
#define IDC_LBCOMPANYNAME 1140
#define IDC_LBCOMPANYID 1141
#define IDC_LBSTREETNAME 1142
#define IDC_LBBUILDINGNUMBER 1143
#define IDC_LBPOSTALCODE 1144
#define IDC_LBPOSTALDASH 1145
#define IDC_LBCITY 1146
#define IDC_LBTAXCOUNTRYREGION 1147
#define IDC_LBSAFTTYPE 1148
#define IDC_LBSAFTVERSION 1149
#define IDC_LBESTABELECIMENTO 1150
#define IDC_LBHINT 1151
#define IDC_LBSERIE 1152
#define IDC_LBDATAI 1153
#define IDC_LBDATAF 1154
#define IDC_LBFICHEIRO 1155
#define IDC_LBCHAVE 1156
#define IDC_DATA_LAST 1199

// The processing panel: 1200 to 1299.
#define IDC_PROCESSAR 1200
#define IDC_LBPROCESSAR 1201
#define IDC_PB 1202

// The status band and the bottom bar.
#define IDC_NFILES 1300
#define IDC_BTOPENFOLDER 1301
#define IDC_VS 1302
#define IDC_BTABORT 1303
#define IDC_BTEXPORT 1304
#define IDC_BTCANCEL 1305

// The validation codes' dialog.
#define IDD_ATCUD 200
#define IDC_ATCUD_LIST 2001
#define IDC_ATCUD_LBTYPE 2002
#define IDC_ATCUD_TYPE 2003
#define IDC_ATCUD_LBSERIES 2004
#define IDC_ATCUD_SERIES 2005
#define IDC_ATCUD_LBCODE 2006
#define IDC_ATCUD_CODE 2007
#define IDC_ATCUD_ADD 2008
#define IDC_ATCUD_CHANGE 2009
#define IDC_ATCUD_REMOVE 2010
#define IDC_ATCUD_SAVE 2011

// The verifier's results.
#define IDD_RESULTS 300
#define IDC_RESULTS_OUTCOME 3001
#define IDC_RESULTS_FINDINGS 3002
#define IDC_RESULTS_VATTITLE 3003
#define IDC_RESULTS_VAT 3004
#define IDC_RESULTS_COUNTS 3005
#define IDC_RESULTS_OPEN 3006
#define IDC_RESULTS_SEVERITIES 3007
