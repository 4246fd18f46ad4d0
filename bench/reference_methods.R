# Standard forecasting methods on the forecast panel's series, measured as the panel
# measures the network: fitted on the rows before the Evaluate rows, then one step ahead
# for every Evaluate row from the values before it (the fitted model's parameters kept).
# Reads a tab-separated list: name, file, value column, Evaluate rows, rows per year
# (1 for none); writes per series the MAE of the naive forecast and of each method, and
# the models the methods chose. Needs the forecast package (Debian: r-cran-forecast).
suppressMessages(library(forecast))
args <- commandArgs(trailingOnly = TRUE)
list <- read.delim(args[1], header = FALSE, stringsAsFactors = FALSE,
                   col.names = c("name", "file", "column", "n", "frequency"))
cat("series\tnaive_mae\tets_mae\tarima_mae\tets_model\tarima_model\n")
for (i in seq_len(nrow(list))) {
  s <- list[i, ]
  y <- read.csv(s$file)[[s$column]]
  y <- y[seq_len(min(length(y), 990))]
  total <- length(y)
  first <- total - s$n + 1
  fit_rows <- ts(y[seq_len(first - 1)], frequency = s$frequency)
  all_rows <- ts(y, frequency = s$frequency)
  evaluate <- first:total
  naive <- mean(abs(y[evaluate] - y[evaluate - 1]))
  e <- ets(fit_rows)
  e_all <- ets(all_rows, model = e, use.initial.values = TRUE)
  a <- auto.arima(fit_rows)
  a_all <- Arima(all_rows, model = a)
  ets_mae <- mean(abs(y[evaluate] - as.numeric(fitted(e_all))[evaluate]))
  arima_mae <- mean(abs(y[evaluate] - as.numeric(fitted(a_all))[evaluate]))
  cat(sprintf("%s\t%.10g\t%.10g\t%.10g\t%s\t%s\n", s$name, naive, ets_mae, arima_mae,
              e$method, gsub(" ", "", as.character(a))))
}
